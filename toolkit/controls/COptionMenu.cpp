#include "toolkit/controls/COptionMenu.h"

#include "toolkit/CFrame.h"

#include <algorithm>
#include <cmath>

namespace velmora::toolkit {
namespace {

constexpr int kItemPadding = 6; // left and right of an entry's title
constexpr int kItemExtraHeight = 4;

} // namespace

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag,
                         CBitmap background, std::uint32_t style)
    : CParamDisplay(size, std::move(background), style) {
    setListener(listener);
    setTag(tag);
    updateRange();
}

COptionMenu::~COptionMenu() = default;

void COptionMenu::updateRange() {
    setMin(0);
    setMax(static_cast<float>(std::max(entryCount() - 1, 0)));
}

void COptionMenu::addEntry(std::string_view title) {
    entries_.emplace_back(title);
    updateRange();
}

bool COptionMenu::setEntry(int index, std::string_view title) {
    if (index < 0 || index >= entryCount()) return false;
    entries_[std::size_t(index)] = title;
    invalid();
    return true;
}

std::string COptionMenu::getEntry(int index) const {
    return index >= 0 && index < entryCount() ? entries_[std::size_t(index)] : std::string();
}

void COptionMenu::removeAllEntries() {
    closePopup();
    entries_.clear();
    updateRange();
    setValue(0);
}

void COptionMenu::setCurrent(int index) {
    if (index >= 0 && index < entryCount()) setValue(static_cast<float>(index));
}

int COptionMenu::getCurrent() const {
    return static_cast<int>(std::lround(getValue()));
}

void COptionMenu::setMenuColors(CColor back, CColor text, CColor highlight) {
    menuBack_ = back;
    menuText_ = text;
    menuHighlight_ = highlight;
}

bool COptionMenu::openPopup() {
    CFrame* frame = getFrame();
    PlatformWindow* window = frame ? frame->getPlatformWindow() : nullptr;
    if (!window || entries_.empty()) return false;
    int widest = 0;
    for (const auto& title : entries_)
        widest = std::max(widest, stringWidth(getFont(), title));
    const CPoint origin = window->originOnScreen();
    const PixelRect anchor = PixelRect::from(getViewSize().offset(origin.x, origin.y));
    layout_ = layoutMenu(entryCount(), widest + 2 * kItemPadding,
                         getFont().height() + kItemExtraHeight, anchor, window->screenBounds());
    popupPixels_ = Framebuffer(layout_.area.width(), layout_.area.height());
    highlighted_ = getCurrent();
    popup_ = window->openPopup(layout_.area, *this);
    if (!popup_) return false;
    // Keys reach the menu through the frame while the list is open.
    frame->setFocusView(this);
    paintPopup();
    return true;
}

void COptionMenu::closePopup() {
    if (!popup_) return;
    popup_.reset();
    highlighted_ = -1;
    if (CFrame* frame = getFrame(); frame && frame->getFocusView() == this)
        frame->setFocusView(nullptr);
}

void COptionMenu::loseFocus() {
    closePopup();
}

void COptionMenu::choose(int index) {
    closePopup();
    if (index < 0 || index >= entryCount()) return;
    beginEdit();
    setValue(static_cast<float>(index));
    valueChanged();
    endEdit();
    invalid();
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton() && !buttons.isRightButton()) return kMouseEventNotHandled;
    if (isOpen())
        closePopup();
    else
        openPopup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void COptionMenu::highlight(int index) {
    if (index == highlighted_) return;
    highlighted_ = index;
    paintPopup();
}

bool COptionMenu::onKeyDown(const KeyEvent& key) {
    if (!isOpen()) return false;
    const int last = entryCount() - 1;
    const int from = highlighted_ < 0 ? getCurrent() : highlighted_;
    switch (key.virt) {
    case VirtualKey::up:
        highlight(std::max(from - 1, 0));
        return true;
    case VirtualKey::down:
        highlight(std::min(from + 1, last));
        return true;
    case VirtualKey::left:
        highlight(from - layout_.rows >= 0 ? from - layout_.rows : from);
        return true;
    case VirtualKey::right:
        highlight(from + layout_.rows <= last ? from + layout_.rows : from);
        return true;
    case VirtualKey::home:
        highlight(0);
        return true;
    case VirtualKey::end:
        highlight(last);
        return true;
    case VirtualKey::enter:
        choose(highlighted_);
        return true;
    case VirtualKey::escape:
        closePopup();
        return true;
    default:
        return true; // the open list holds the keyboard
    }
}

void COptionMenu::platformMouseDown(CPoint where, CButtonState) {
    const bool inside = where.x >= 0 && where.y >= 0 && where.x < layout_.area.width() &&
                        where.y < layout_.area.height();
    if (!inside) {
        closePopup();
        return;
    }
    const int index = layout_.entryAt(where, entryCount());
    if (index >= 0) choose(index);
}

void COptionMenu::platformMouseMoved(CPoint where, CButtonState) {
    const int index = layout_.entryAt(where, entryCount());
    if (index >= 0) highlight(index);
}

void COptionMenu::platformExpose(const PixelRect& area) {
    if (popup_) popup_->present(popupPixels_, area.intersect(popupPixels_.bounds()));
}

void COptionMenu::paintPopup() {
    if (!popup_) return;
    CDrawContext context(popupPixels_);
    context.fillRect(popupPixels_.bounds().toRect(), menuBack_);
    const int current = getCurrent();
    for (int i = 0; i < entryCount(); ++i) {
        const CRect item = layout_.entryRect(i).toRect();
        if (i == highlighted_) context.fillRect(item, menuHighlight_);
        if (i == current) // a bar at the left edge marks the current entry
            context.fillRect({item.left, item.top + 2, item.left + 2, item.bottom - 2}, menuText_);
        const CRect titleBox{item.left + kItemPadding, item.top, item.right, item.bottom};
        drawString(context, getFont(), entries_[std::size_t(i)], titleBox, menuText_, kLeftText);
    }
    context.frameRect(popupPixels_.bounds().toRect(), menuHighlight_);
    popup_->present(popupPixels_, popupPixels_.bounds());
}

} // namespace velmora::toolkit
