#include "toolkit/CFrame.h"

#include "toolkit/CDrawContext.h"

#include <algorithm>

namespace velmora::toolkit {

CFrame::CFrame(const CRect& size, EditorInterface* editor)
    : CView(size), editor_(editor),
      framebuffer_(static_cast<int>(size.getWidth()), static_cast<int>(size.getHeight())) {
    attached(this);
}

CFrame::~CFrame() {
    close();
}

bool CFrame::open(void* parent, std::unique_ptr<PlatformWindow> window) {
    close();
    if (!window || !window->open(parent, framebuffer_.width(), framebuffer_.height(), *this))
        return false;
    window_ = std::move(window);
    setDirty(true);
    redraw();
    if (wantsKeyboardFocus_) window_->takeKeyboardFocus();
    return true;
}

void CFrame::close() {
    // Whatever holds the keys may hold a pop-up of the window too; it goes before the window.
    setFocusView(nullptr);
    captured_ = nullptr;
    hover_ = nullptr;
    window_.reset();
}

void CFrame::adopt(std::unique_ptr<CView> view) {
    if (!view) return;
    view->attached(this);
    view->setDirty(true);
    children_.push_back(std::move(view));
}

CView* CFrame::getView(std::size_t index) const {
    return index < children_.size() ? children_[index].get() : nullptr;
}

bool CFrame::removeView(CView* view) {
    const auto it =
        std::ranges::find_if(children_, [view](const auto& c) { return c.get() == view; });
    if (it == children_.end()) return false;
    invalidRect(view->getViewSize());
    std::unique_ptr<CView> owned = std::move(*it);
    children_.erase(it);
    release(std::move(owned));
    return true;
}

// A released view may still be running one of its own handlers, so it is destroyed only when
// the event is over.
void CFrame::release(std::unique_ptr<CView> view) {
    forget(view.get());
    view->removed();
    released_.push_back(std::move(view));
}

void CFrame::forget(const CView* view) {
    if (captured_ == view) captured_ = nullptr;
    if (hover_ == view) hover_ = nullptr;
    if (focusView_ == view) focusView_ = nullptr;
}

void CFrame::finishEvent() {
    released_.clear();
}

CView* CFrame::getViewAt(const CPoint& where) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if ((*it)->isVisible() && (*it)->hitTest(where)) return it->get();
    return nullptr;
}

CView* CFrame::viewForMouse(const CPoint& where) const {
    if (modal_)
        return modal_->isVisible() && modal_->getMouseEnabled() && modal_->hitTest(where)
                   ? modal_.get()
                   : nullptr;
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if ((*it)->isVisible() && (*it)->getMouseEnabled() && (*it)->hitTest(where))
            return it->get();
    return nullptr;
}

CView* CFrame::setModalView(std::unique_ptr<CView> view) {
    clearModalView();
    if (!view) return nullptr;
    // A gesture in progress belongs to a view that no longer gets the mouse.
    captured_ = nullptr;
    view->attached(this);
    view->setDirty(true);
    modal_ = std::move(view);
    return modal_.get();
}

void CFrame::clearModalView() {
    if (!modal_) return;
    invalidRect(modal_->getViewSize());
    release(std::move(modal_));
}

void CFrame::setFocusView(CView* view) {
    if (focusView_ == view) return;
    CView* old = focusView_;
    focusView_ = view;
    if (old) old->loseFocus();
    if (view) view->takeFocus();
}

bool CFrame::onKeyDown(const KeyEvent& key) {
    const bool used = focusView_ && focusView_->onKeyDown(key);
    finishEvent();
    return used;
}

bool CFrame::onWheel(const CPoint& where, float distance, const CButtonState& buttons) {
    mouseLocation_ = where;
    CView* target = captured_ ? captured_ : viewForMouse(where);
    const bool used = target && target->onWheel(where, distance, buttons);
    finishEvent();
    return used;
}

void CFrame::setWantsKeyboardFocus(bool wants) {
    wantsKeyboardFocus_ = wants;
    if (wants && window_) window_->takeKeyboardFocus();
}

KnobMode CFrame::getKnobMode() const {
    return editor_ ? editor_->getKnobMode() : kCircularMode;
}

void CFrame::beginEdit(std::int32_t tag) {
    if (editor_) editor_->beginEdit(tag);
}

void CFrame::endEdit(std::int32_t tag) {
    if (editor_) editor_->endEdit(tag);
}

void CFrame::invalidRect(const CRect& area) {
    dirty_.add(PixelRect::from(area).intersect(framebuffer_.bounds()));
}

void CFrame::setDirty(bool dirty) {
    CView::setDirty(dirty);
    if (dirty) dirty_.add(framebuffer_.bounds());
}

void CFrame::idle() {
    if (!window_) return;
    window_->pumpEvents();
    finishEvent();
    redraw();
}

void CFrame::collectDirtyViews() {
    for (const auto& child : children_)
        if (child->isVisible() && child->isDirty()) invalidRect(child->getViewSize());
    if (modal_ && modal_->isDirty()) invalidRect(modal_->getViewSize());
}

void CFrame::redraw() {
    collectDirtyViews();
    if (dirty_.empty()) return;
    for (const PixelRect& area : dirty_.rects())
        drawArea(area);
    for (const auto& child : children_)
        if (child->isVisible()) child->setDirty(false);
    if (modal_) modal_->setDirty(false);
    CView::setDirty(false);
    if (window_)
        for (const PixelRect& area : dirty_.rects())
            window_->present(framebuffer_, area);
    dirty_.clear();
}

void CFrame::drawArea(const PixelRect& area) {
    CDrawContext context(framebuffer_);
    context.setClipRect(area.toRect());
    if (const Pixmap* background = getBackground().pixmap())
        context.drawPixmap(*background, getViewSize());
    else
        context.fillRect(area.toRect(), kBlackCColor);
    const auto drawView = [&](CView& view) {
        const CRect clip = area.toRect().intersect(view.getViewSize());
        if (!view.isVisible() || clip.isEmpty()) return;
        context.setClipRect(clip);
        view.draw(context);
    };
    for (const auto& child : children_)
        drawView(*child);
    if (modal_) drawView(*modal_);
}

void CFrame::platformMouseDown(CPoint where, CButtonState buttons) {
    mouseLocation_ = where;
    CView* target = viewForMouse(where);
    // A click anywhere else ends a text edit or closes what holds the keys.
    if (focusView_ && focusView_ != target) setFocusView(nullptr);
    captured_ = nullptr;
    if (target) {
        CPoint p = where;
        if (target->onMouseDown(p, buttons) == kMouseEventHandled && viewForMouse(where) == target)
            captured_ = target;
    }
    finishEvent();
}

void CFrame::platformMouseMoved(CPoint where, CButtonState buttons) {
    mouseLocation_ = where;
    CPoint p = where;
    if (captured_)
        captured_->onMouseMoved(p, buttons);
    else {
        updateHover(where, buttons);
        if (hover_) hover_->onMouseMoved(p, buttons);
    }
    finishEvent();
}

void CFrame::platformMouseUp(CPoint where, CButtonState buttons) {
    mouseLocation_ = where;
    if (CView* target = captured_) {
        captured_ = nullptr;
        CPoint p = where;
        target->onMouseUp(p, buttons);
    }
    updateHover(where, buttons);
    finishEvent();
}

void CFrame::platformMouseExited() {
    if (hover_) {
        CPoint p = mouseLocation_;
        hover_->onMouseExited(p, {});
        hover_ = nullptr;
    }
    mouseLocation_ = {-1, -1};
    finishEvent();
}

void CFrame::updateHover(CPoint where, CButtonState buttons) {
    CView* now = viewForMouse(where);
    if (now == hover_) return;
    CPoint p = where;
    if (hover_) hover_->onMouseExited(p, buttons);
    hover_ = now;
    if (hover_) hover_->onMouseEntered(p, buttons);
}

void CFrame::platformWheel(CPoint where, float distance, CButtonState modifiers) {
    onWheel(where, distance, modifiers);
}

bool CFrame::platformKeyDown(const KeyEvent& key) {
    return onKeyDown(key);
}

void CFrame::platformExpose(const PixelRect& area) {
    redraw();
    if (window_) window_->present(framebuffer_, area.intersect(framebuffer_.bounds()));
}

void CFrame::platformFocusChanged(bool hasFocus) {
    hasKeyboardFocus_ = hasFocus;
}

} // namespace velmora::toolkit
