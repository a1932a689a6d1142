// A button that opens a pop-up list of entries; its value is the index of the chosen entry.
// The list fits the screen (in columns when it is taller), highlights the entry under the
// pointer and the current one, and is chosen from with the mouse or with the arrows and Enter.
// Escape or a click outside closes it without a choice.
#pragma once

#include "toolkit/PlatformWindow.h"
#include "toolkit/controls/CParamDisplay.h"
#include "toolkit/controls/MenuLayout.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::toolkit {

class COptionMenu : public CParamDisplay, private PlatformEventSink {
  public:
    COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag,
                CBitmap background = {}, std::uint32_t style = 0);
    ~COptionMenu() override;

    void addEntry(std::string_view title);
    bool setEntry(int index, std::string_view title);
    std::string getEntry(int index) const;
    int entryCount() const { return static_cast<int>(entries_.size()); }
    void removeAllEntries();
    // Shows the entry without telling the listener.
    void setCurrent(int index);
    int getCurrent() const;
    std::string displayText() const override { return getEntry(getCurrent()); }

    void setMenuColors(CColor back, CColor text, CColor highlight);

    bool isOpen() const { return popup_ != nullptr; }
    int getHighlighted() const { return highlighted_; }
    const MenuLayout& getLayout() const { return layout_; }
    // Opens the list; false when there is no window to open it from or nothing to show.
    bool openPopup();
    void closePopup();

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool onKeyDown(const KeyEvent& key) override;
    void loseFocus() override;

  private:
    void choose(int index);
    void highlight(int index);
    void paintPopup();
    void updateRange();

    void platformMouseDown(CPoint where, CButtonState buttons) override;
    void platformMouseMoved(CPoint where, CButtonState buttons) override;
    void platformMouseUp(CPoint, CButtonState) override {}
    void platformMouseExited() override {}
    void platformWheel(CPoint, float, CButtonState) override {}
    bool platformKeyDown(const KeyEvent& key) override { return onKeyDown(key); }
    void platformExpose(const PixelRect& area) override;
    void platformFocusChanged(bool) override {}

    std::vector<std::string> entries_;
    std::unique_ptr<PlatformPopup> popup_;
    Framebuffer popupPixels_;
    MenuLayout layout_;
    int highlighted_ = -1;
    CColor menuBack_{38, 42, 50, 255};
    CColor menuText_{230, 232, 236, 255};
    CColor menuHighlight_{74, 112, 170, 255};
};

} // namespace velmora::toolkit
