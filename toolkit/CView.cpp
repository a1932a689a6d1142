#include "toolkit/CView.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

namespace velmora::toolkit {

void CView::draw(CDrawContext& context) {
    if (const Pixmap* pixels = background_.pixmap()) context.drawPixmap(*pixels, size_);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
void CView::onMouseEntered(CPoint&, const CButtonState&) {}
void CView::onMouseExited(CPoint&, const CButtonState&) {}
bool CView::onWheel(const CPoint&, float, const CButtonState&) {
    return false;
}
bool CView::onKeyDown(const KeyEvent&) {
    return false;
}

void CView::setViewSize(const CRect& size) {
    // Both the old and the new place need painting.
    if (frame_) frame_->invalidRect(size_);
    size_ = size;
    setDirty(true);
}

void CView::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (frame_) frame_->invalidRect(size_);
    setDirty(true);
}

void CView::setBackground(CBitmap background) {
    background_ = std::move(background);
    setDirty(true);
}

} // namespace velmora::toolkit
