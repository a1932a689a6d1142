// A frame on the offscreen backend with a listener and editor that log what they hear, and
// bitmap strips whose frames can be told apart by a read-back pixel.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/CFrame.h"
#include "toolkit/offscreen/OffscreenDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velmora::toolkit::testing {

struct Recorder : CControlListener, EditorInterface {
    KnobMode knobMode = kLinearMode;
    std::vector<std::string> calls;
    std::vector<float> values; // the value at each valueChanged

    void valueChanged(CControl* c) override {
        calls.push_back("changed " + std::to_string(c->getTag()));
        values.push_back(c->getValue());
    }
    void controlBeginEdit(CControl* c) override {
        calls.push_back("begin " + std::to_string(c->getTag()));
    }
    void controlEndEdit(CControl* c) override {
        calls.push_back("end " + std::to_string(c->getTag()));
    }
    void beginEdit(std::int32_t) override {}
    void endEdit(std::int32_t) override {}
    KnobMode getKnobMode() const override { return knobMode; }

    int changes() const { return static_cast<int>(values.size()); }
    void clear() {
        calls.clear();
        values.clear();
    }
};

// Every pixel of frame k has blue value k + 1 (and red 200, so no frame looks like the black
// background).
inline CBitmap stripBitmap(int width, int frameHeight, int frames) {
    auto pixmap = std::make_shared<Pixmap>();
    pixmap->width = width;
    pixmap->height = frameHeight * frames;
    for (int y = 0; y < pixmap->height; ++y)
        for (int x = 0; x < width; ++x)
            pixmap->pixels.push_back(packPixel(255, 200, 0, std::uint32_t(y / frameHeight + 1)));
    return {1000 + frames, std::move(pixmap)};
}

// The strip frame shown at a pixel, or -1 when no strip is painted there.
inline int frameAt(const OffscreenDriver& driver, int x, int y) {
    const Pixel p = driver.pixel(x, y);
    return redOf(p) == 200 ? static_cast<int>(blueOf(p)) - 1 : -1;
}

class GestureTest : public ::testing::Test {
  protected:
    Recorder recorder;
    CFrame frame{CRect::fromSize(0, 0, 400, 200), &recorder};
    std::unique_ptr<OffscreenDriver> driver;

    template <typename View> View* add(std::unique_ptr<View> view) {
        return frame.addView(std::move(view));
    }
    OffscreenDriver& open(const OffscreenWindow::Options& options = {}) {
        driver = std::make_unique<OffscreenDriver>(frame, options);
        return *driver;
    }
};

} // namespace velmora::toolkit::testing
