// A one-line progress bar on the terminal; silent when stderr is not a terminal.
#pragma once

#include <cstddef>

namespace velmora::render {

class ProgressBar {
  public:
    explicit ProgressBar(std::size_t total);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(std::size_t done);

  private:
    std::size_t total_;
    bool enabled_;
    int shownPercent_ = -1;
};

} // namespace velmora::render
