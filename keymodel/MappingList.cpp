#include "MappingList.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
void* defaultResize(void* block, std::size_t bytes)
{
    if (bytes == 0) {
        std::free(block);
        return nullptr;
    }
    return std::realloc(block, bytes);
}

const int maxRows = static_cast<int>(
    std::min<std::size_t>(INT_MAX - 1, SIZE_MAX / sizeof(KeyMapping)));

std::int32_t kindFromTarget(ScanCode to) { return to == 0 ? Disabled : Plain; }

// Sort position of a source code: the rank of its name among the catalogue names, so that
// sorting compares integers instead of strings. Codes the catalogue lacks have no name;
// they sort after every named key, in ascending order of code.
class SortKeys {
public:
    SortKeys()
    {
        int order[KeyCatalogue::size];
        for (int i = 0; i < KeyCatalogue::size; ++i)
            order[i] = i;
        std::sort(order, order + KeyCatalogue::size, [](int a, int b) {
            return compareKeyNames(KeyCatalogue::entryAt(a).name,
                                   KeyCatalogue::entryAt(b).name) < 0;
        });
        for (int rank = 0; rank < KeyCatalogue::size; ++rank)
            rankOfIndex_[order[rank]] = static_cast<std::uint32_t>(rank);
    }

    std::uint32_t of(ScanCode code) const
    {
        int index = KeyCatalogue::indexOfCode(code);
        return index < 0 ? 0x10000u + code : rankOfIndex_[index];
    }

private:
    std::uint32_t rankOfIndex_[KeyCatalogue::size];
};

const SortKeys& sortKeys()
{
    static const SortKeys keys;
    return keys;
}

bool isPartner(const KeyMapping& a, const KeyMapping& b)
{
    return b.fromCode == a.toCode && b.toCode == a.fromCode;
}

void markPair(KeyMapping* first)
{
    first[0].kind = SwapFirst;
    first[1].kind = SwapSecond;
}
}  // namespace

MappingList::ResizeFunction MappingList::resizeStorage = defaultResize;

int compareKeyNames(const char* a, const char* b)
{
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        unsigned cx = (*x >= 'A' && *x <= 'Z') ? *x + ('a' - 'A') : *x;
        unsigned cy = (*y >= 'A' && *y <= 'Z') ? *y + ('a' - 'A') : *y;
        if (cx != cy || cx == 0)
            return static_cast<int>(cx) - static_cast<int>(cy);
    }
}

MappingList::MappingList() : rows_(nullptr), count_(0), capacity_(0) { resetDerived(); }

MappingList::~MappingList() { clear(); }

int MappingList::findByFrom(ScanCode from) const
{
    for (int i = 0; i < count_; ++i)
        if (rows_[i].fromCode == from)
            return i;
    return -1;
}

// Makes room for one more row. The storage doubles, so that filling a list of n rows copies
// it about log n times rather than n times; when doubling fails, one more row is tried.
bool MappingList::grow()
{
    if (count_ >= maxRows)
        return false;
    int wanted = capacity_ > maxRows / 2 ? maxRows : (capacity_ == 0 ? 1 : capacity_ * 2);
    void* grown = resizeStorage(rows_, static_cast<std::size_t>(wanted) * sizeof(KeyMapping));
    if (!grown && wanted > count_ + 1) {
        wanted = count_ + 1;
        grown = resizeStorage(rows_, static_cast<std::size_t>(wanted) * sizeof(KeyMapping));
    }
    if (!grown)
        return false;
    rows_ = static_cast<KeyMapping*>(grown);
    capacity_ = wanted;
    return true;
}

int MappingList::append(ScanCode from, ScanCode to)
{
    if (count_ == capacity_ && !grow())
        return -1;
    KeyMapping& row = rows_[count_];
    row.fromCode = from;
    row.toCode = to;
    // Defined until the next normalise, so a row drawn before it never shows garbage.
    row.kind = kindFromTarget(to);
    row.fromName = KeyCatalogue::nameOfCode(from);
    row.toName = KeyCatalogue::nameOfCode(to);
    return count_++;
}

void MappingList::removeAt(int index)
{
    std::memmove(rows_ + index, rows_ + index + 1,
                 static_cast<std::size_t>(count_ - index - 1) * sizeof(KeyMapping));
    --count_;
    if (count_ == 0) {
        resizeStorage(rows_, 0);
        rows_ = nullptr;
        capacity_ = 0;
        return;
    }
    // A failed shrink keeps the larger block, which still holds every row.
    void* shrunk = resizeStorage(rows_, static_cast<std::size_t>(count_) * sizeof(KeyMapping));
    if (shrunk) {
        rows_ = static_cast<KeyMapping*>(shrunk);
        capacity_ = count_;
    }
}

int MappingList::setMapping(ScanCode from, ScanCode to)
{
    int index = findByFrom(from);
    if (index == -1)
        return append(from, to);
    rows_[index].toCode = to;
    rows_[index].toName = KeyCatalogue::nameOfCode(to);
    return index;
}

void MappingList::clear()
{
    if (rows_)
        resizeStorage(rows_, 0);
    rows_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}

void MappingList::swap(MappingList& other)
{
    std::swap(rows_, other.rows_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(toStatus_, other.toStatus_);
    std::swap(fromStatus_, other.fromStatus_);
}

void MappingList::resetDerived()
{
    for (int i = 0; i < count_; ++i)
        rows_[i].kind = kindFromTarget(rows_[i].toCode);
    toStatus_[0] = Disabled;
    for (int c = 1; c < KeyCatalogue::size; ++c)
        toStatus_[c] = NotInvolved;
    for (int c = 0; c < KeyCatalogue::size; ++c)
        fromStatus_[c] = NotInvolved;
}

void MappingList::normalise()
{
    resetDerived();
    sortByName();
    pairSwaps();
    fillStatuses();
}

void MappingList::sortByName()
{
    const SortKeys& keys = sortKeys();
    // Rows of one source are put in order of target, so that the result is the same
    // whatever the sort algorithm does with equal keys.
    std::sort(rows_, rows_ + count_, [&keys](const KeyMapping& a, const KeyMapping& b) {
        std::uint32_t ka = keys.of(a.fromCode), kb = keys.of(b.fromCode);
        return ka != kb ? ka < kb : a.toCode < b.toCode;
    });
}

void MappingList::pairSwaps()
{
    if (!pairSwapsIndexed())
        pairSwapsInPlace();
}

// The pass step by step: for each row not yet paired, pull its first later partner up
// behind it. Quadratic, but needs no memory; used when the indexed pass cannot get any.
void MappingList::pairSwapsInPlace()
{
    int i = 0;
    while (i + 1 < count_) {
        int j = i + 1;
        while (j < count_ && !isPartner(rows_[i], rows_[j]))
            ++j;
        if (j == count_) {
            ++i;
            continue;
        }
        KeyMapping partner = rows_[j];
        std::memmove(rows_ + i + 2, rows_ + i + 1, static_cast<std::size_t>(j - i - 1) * sizeof(KeyMapping));
        rows_[i + 1] = partner;
        markPair(rows_ + i);
        i += 2;
    }
}

// The same pass in O(n log n). Rows not yet placed keep their sorted order, so the first
// later partner of row i is the first unplaced row after i, in sorted order, whose
// (from, to) is row i's (to, from). Rows are grouped by (from, to) with a cursor per
// group that only moves forward, because i only grows.
bool MappingList::pairSwapsIndexed()
{
    const std::size_t n = static_cast<std::size_t>(count_);
    if (n < 2)
        return true;
    if (n > SIZE_MAX / sizeof(KeyMapping))
        return false;
    std::uint64_t* byPair = static_cast<std::uint64_t*>(resizeStorage(nullptr, n * sizeof(std::uint64_t)));
    std::uint32_t* cursor = static_cast<std::uint32_t*>(resizeStorage(nullptr, n * sizeof(std::uint32_t)));
    unsigned char* placed = static_cast<unsigned char*>(resizeStorage(nullptr, n));
    KeyMapping* out = static_cast<KeyMapping*>(resizeStorage(nullptr, n * sizeof(KeyMapping)));
    bool ok = byPair && cursor && placed && out;
    if (ok) {
        for (std::size_t i = 0; i < n; ++i) {
            std::uint64_t pair = (static_cast<std::uint64_t>(rows_[i].fromCode) << 16) | rows_[i].toCode;
            byPair[i] = (pair << 32) | i;
            cursor[i] = UINT32_MAX;
        }
        std::sort(byPair, byPair + n);
        std::memset(placed, 0, n);
        std::size_t written = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (placed[i])
                continue;
            placed[i] = 1;
            out[written++] = rows_[i];
            std::uint64_t wanted = (static_cast<std::uint64_t>(rows_[i].toCode) << 16) | rows_[i].fromCode;
            std::uint64_t* group = std::lower_bound(byPair, byPair + n, wanted << 32);
            std::size_t start = static_cast<std::size_t>(group - byPair);
            if (start == n || (byPair[start] >> 32) != wanted)
                continue;
            std::size_t p = cursor[start] == UINT32_MAX ? start : cursor[start];
            while (p < n && (byPair[p] >> 32) == wanted && placed[byPair[p] & 0xFFFFFFFFu])
                ++p;
            cursor[start] = static_cast<std::uint32_t>(p);
            if (p == n || (byPair[p] >> 32) != wanted)
                continue;
            std::size_t j = static_cast<std::size_t>(byPair[p] & 0xFFFFFFFFu);
            placed[j] = 1;
            out[written++] = rows_[j];
            markPair(out + written - 2);
        }
        std::memcpy(rows_, out, n * sizeof(KeyMapping));
    }
    resizeStorage(out, 0);
    resizeStorage(placed, 0);
    resizeStorage(cursor, 0);
    resizeStorage(byPair, 0);
    return ok;
}

void MappingList::fillStatuses()
{
    for (int i = 0; i < count_; ++i) {
        int from = KeyCatalogue::indexOfCode(rows_[i].fromCode);
        if (from >= 1)
            fromStatus_[from] = rows_[i].kind;
        int to = KeyCatalogue::indexOfCode(rows_[i].toCode);
        if (to >= 1)
            toStatus_[to] = rows_[i].kind;
    }
}
