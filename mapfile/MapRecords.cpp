#include "MapRecords.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
void* defaultObtain(std::size_t bytes) { return std::malloc(bytes); }
}  // namespace

MapRecords::ObtainFunction MapRecords::obtainStorage = defaultObtain;

bool MapRecords::obtain(int count)
{
    clear();
    // A size that cannot be represented must fail, never wrap round to a smaller block.
    if (count < 1 || static_cast<std::uint64_t>(count) > SIZE_MAX / sizeof(MapRecord))
        return false;
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(MapRecord);
    rows_ = static_cast<MapRecord*>(obtainStorage(bytes));
    if (rows_ == nullptr)
        return false;
    std::memset(rows_, 0, bytes);
    count_ = count;
    return true;
}

void MapRecords::clear()
{
    std::free(rows_);
    rows_ = nullptr;
    count_ = 0;
}

template <class Unwanted>
bool MapRecords::removeWhere(Unwanted unwanted)
{
    int kept = 0;
    for (int i = 0; i < count_; ++i)
        if (!unwanted(rows_[i]))
            rows_[kept++] = rows_[i];
    const bool removed = kept < count_;
    if (kept == 0)
        clear();
    else
        count_ = kept;
    return removed;
}

bool MapRecords::removeExtended()
{
    return removeWhere([](const MapRecord& r) {
        return KeyCatalogue::isExtended(r.fromCode) || KeyCatalogue::isExtended(r.toCode);
    });
}

bool MapRecords::removeUnknown()
{
    return removeWhere([](const MapRecord& r) {
        return KeyCatalogue::indexOfCode(r.fromCode) == -1 || KeyCatalogue::indexOfCode(r.toCode) == -1;
    });
}
