// The name of a temporary file beside another one, made from the other's path byte for
// byte, on any ANSI code page: the path is walked by whole characters, so neither a "~" nor
// a digit lands behind a lead byte, and the trail byte of a double-byte character (0x5C
// in Japanese names) is never taken for a backslash. No Windows code: the code page's
// rule for lead bytes is given.
#pragma once

// True for a byte that starts a double-byte character in the ANSI code page.
typedef bool (*LeadByteRule)(unsigned char byte);

// Where the file name begins in `path`: after the last "\" or "/", or after the drive's
// colon ("C:x.swm").
int FileNameStart(const char* path, LeadByteRule isLeadByte);

// Prepares `name`, a copy of a path of `length` bytes, as the pattern of names beside it:
// the end of its file name becomes "~" (or "~~", to keep whole characters) and room for
// hex digits, so that the name is as long as the path. Returns how many digits to fill in
// (1 to 4), or 0 when the path names no file.
int PrepareNameBeside(char* name, int length, LeadByteRule isLeadByte);

// Writes the low `digits` hex digits of `value` at the end of `name`, `length` bytes long.
void PutDigits(char* name, int length, int digits, unsigned long value);
