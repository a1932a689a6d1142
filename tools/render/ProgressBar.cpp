#include "tools/render/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace velmora::render {

namespace {
constexpr int kBarWidth = 40;
}

ProgressBar::ProgressBar(std::size_t total)
    : total_(std::max<std::size_t>(total, 1)), enabled_(isatty(STDERR_FILENO) != 0) {}

ProgressBar::~ProgressBar() {
    if (enabled_ && shownPercent_ >= 0) {
        std::fputc('\n', stderr);
    }
}

void ProgressBar::update(std::size_t done) {
    if (!enabled_) {
        return;
    }
    const int percent = static_cast<int>(std::min<std::size_t>(done, total_) * 100 / total_);
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '-');
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
}

} // namespace velmora::render
