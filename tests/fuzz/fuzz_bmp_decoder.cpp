// The BMP decoder on arbitrary bytes: it must reject or decode, never read outside the input,
// and a decoded image must hold exactly width times height pixels.
#include "toolkit/BmpDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = velmora::toolkit::decodeBmp({data, size});
    if (result.ok() && result.image.pixels.size() !=
                           std::size_t(result.image.width) * std::size_t(result.image.height))
        std::abort();
    return 0;
}
