// Commands whose real work lands with the map-file and apply steps.
#include "MainWindow.h"

void MainWindow::OnOK() { End(IDOK); }
void MainWindow::OnSaveMap() {}
void MainWindow::OnLoadMap() {}
BOOL MainWindow::LoadMapFile(const char*) { return FALSE; }
