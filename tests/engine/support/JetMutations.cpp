#include "JetMutations.h"

#include <random>

namespace varnex::test {

std::string MutateJet(const std::string& good, std::uint32_t seed) {
    constexpr std::size_t kPage = 4096;
    std::mt19937 random(seed);
    std::string bad = good;
    const std::size_t pages = good.size() / kPage;
    auto pick = [&](std::size_t below) {
        return std::uniform_int_distribution<std::size_t>(0, below - 1)(random);
    };
    switch (seed % 4) {
        case 0:  // cut at a page boundary, so that the structure check passes
            bad.resize(kPage * (3 + pick(pages > 3 ? pages - 3 : 1)));
            break;
        case 1:  // cut anywhere
            bad.resize(pick(good.size()));
            break;
        case 2: {  // a few bytes flipped, mostly past the file header
            const std::size_t flips = 1 + pick(8);
            for (std::size_t i = 0; i < flips; ++i) {
                const std::size_t at = kPage + pick(good.size() - kPage);
                bad[at] = static_cast<char>(bad[at] ^ (1 << pick(8)));
            }
            break;
        }
        default: {  // a page zeroed, or filled with one byte
            const std::size_t page = 1 + pick(pages - 1);
            const char fill = pick(2) ? '\0' : static_cast<char>(pick(256));
            std::fill_n(bad.begin() + static_cast<std::ptrdiff_t>(page * kPage), kPage, fill);
            break;
        }
    }
    return bad;
}

}  // namespace varnex::test
