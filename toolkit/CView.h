// The base of everything on the frame: a rectangle that draws itself and may take mouse, wheel
// and key input. Views are owned by the frame they are added to.
#pragma once

#include "toolkit/ButtonState.h"
#include "toolkit/CBitmap.h"
#include "toolkit/Geometry.h"
#include "toolkit/KeyEvent.h"

namespace velmora::toolkit {

class CDrawContext;
class CFrame;

class CView {
  public:
    explicit CView(const CRect& size) : size_(size) {}
    virtual ~CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    // Paints the view; the clip is already the view's rectangle within the area being redrawn.
    virtual void draw(CDrawContext& context);

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual void onMouseEntered(CPoint& where, const CButtonState& buttons);
    virtual void onMouseExited(CPoint& where, const CButtonState& buttons);
    // True when the wheel was used.
    virtual bool onWheel(const CPoint& where, float distance, const CButtonState& buttons);
    // True when the key was used.
    virtual bool onKeyDown(const KeyEvent& key);
    // The frame's focus view changes: the view becomes it, or stops being it.
    virtual void takeFocus() {}
    virtual void loseFocus() {}

    // Dirty views are redrawn on the frame's next idle.
    virtual bool isDirty() const { return dirty_; }
    virtual void setDirty(bool dirty = true) { dirty_ = dirty; }
    void invalid() { setDirty(true); }

    const CRect& getViewSize() const { return size_; }
    virtual void setViewSize(const CRect& size);
    bool hitTest(const CPoint& where) const { return size_.pointInside(where); }

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    bool getMouseEnabled() const { return mouseEnabled_; }
    void setMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }

    const CBitmap& getBackground() const { return background_; }
    void setBackground(CBitmap background);

    CFrame* getFrame() const { return frame_; }
    // Called by the frame when the view joins or leaves it.
    virtual void attached(CFrame* frame) { frame_ = frame; }
    virtual void removed() { frame_ = nullptr; }

  private:
    CRect size_;
    CBitmap background_;
    CFrame* frame_ = nullptr;
    bool dirty_ = true;
    bool visible_ = true;
    bool mouseEnabled_ = true;
};

} // namespace velmora::toolkit
