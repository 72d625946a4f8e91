// Any bytes given to the "ScanCode Map" decoder: no crash, no out-of-bounds access, and a
// value that decodes encodes back to the same entries.
#include "ScancodeMapValue.h"
#include "StoreResults.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MappingList list;
    if (ScancodeMapValue::decode(data, size, list) != ReadOk)
        return 0;
    std::vector<unsigned char> again(ScancodeMapValue::encodedSize(list.count()));
    ScancodeMapValue::encode(list, again.data());
    // Header words are not kept; the rest must come back byte for byte.
    if (again.size() != size || std::memcmp(again.data() + 8, data + 8, size - 8) != 0)
        std::abort();
    list.normalise();
    return 0;
}
