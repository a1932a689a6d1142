// The top-level view: owns the child views (drawn in the order added), the framebuffer and the
// window backend inside the host's parent window. It routes input to the view under the mouse
// (or to the modal view while one is shown), and on each idle redraws and presents only what
// changed.
#pragma once

#include "toolkit/CView.h"
#include "toolkit/DirtyRegion.h"
#include "toolkit/EditorInterface.h"
#include "toolkit/Framebuffer.h"
#include "toolkit/PlatformWindow.h"

#include <memory>
#include <vector>

namespace velmora::toolkit {

class CFrame : public CView, private PlatformEventSink {
  public:
    CFrame(const CRect& size, EditorInterface* editor);
    ~CFrame() override;

    // Opens the backend's window inside `parent` and shows the frame; false when it fails.
    bool open(void* parent, std::unique_ptr<PlatformWindow> window);
    void close();
    bool isOpen() const { return window_ != nullptr; }
    PlatformWindow* getPlatformWindow() const { return window_.get(); }

    // Adds a child on top of the others and returns it; the frame owns it from now on.
    template <typename View> View* addView(std::unique_ptr<View> view) {
        View* raw = view.get();
        adopt(std::move(view));
        return raw;
    }
    // Removes and destroys a child (at the end of the event being handled, so a view may
    // remove itself). False when it is not a child.
    bool removeView(CView* view);
    std::size_t viewCount() const { return children_.size(); }
    CView* getView(std::size_t index) const;
    // The topmost visible child under the point, or null.
    CView* getViewAt(const CPoint& where) const;

    // While a modal view is shown only it receives the mouse. Setting one replaces the last.
    CView* setModalView(std::unique_ptr<CView> view);
    CView* getModalView() const { return modal_.get(); }
    void clearModalView();

    // Where the mouse was last seen, in frame coordinates; (-1, -1) once it has left.
    CPoint getCurrentMouseLocation() const { return mouseLocation_; }

    // Keys go to the focus view first; a click outside it takes the focus away.
    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView_; }
    bool onKeyDown(const KeyEvent& key) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;

    // The keyboard-focus option: when set, the frame's window takes the keyboard at once.
    void setWantsKeyboardFocus(bool wants);
    bool wantsKeyboardFocus() const { return wantsKeyboardFocus_; }
    bool hasKeyboardFocus() const { return hasKeyboardFocus_; }

    EditorInterface* getEditor() const { return editor_; }
    KnobMode getKnobMode() const;
    void beginEdit(std::int32_t tag);
    void endEdit(std::int32_t tag);

    // Marks an area, or with setDirty the whole frame, for the next redraw.
    void invalidRect(const CRect& area);
    void setDirty(bool dirty = true) override;

    // Pumps the window's events, then draws and presents what changed.
    void idle();
    const Framebuffer& framebuffer() const { return framebuffer_; }

  private:
    void adopt(std::unique_ptr<CView> view);
    void release(std::unique_ptr<CView> view);
    void forget(const CView* view);
    CView* viewForMouse(const CPoint& where) const;
    void updateHover(CPoint where, CButtonState buttons);
    void collectDirtyViews();
    void drawArea(const PixelRect& area);
    void redraw();
    void finishEvent();

    void platformMouseDown(CPoint where, CButtonState buttons) override;
    void platformMouseMoved(CPoint where, CButtonState buttons) override;
    void platformMouseUp(CPoint where, CButtonState buttons) override;
    void platformMouseExited() override;
    void platformWheel(CPoint where, float distance, CButtonState modifiers) override;
    bool platformKeyDown(const KeyEvent& key) override;
    void platformExpose(const PixelRect& area) override;
    void platformFocusChanged(bool hasFocus) override;

    EditorInterface* editor_;
    std::vector<std::unique_ptr<CView>> children_;
    std::unique_ptr<CView> modal_;
    std::vector<std::unique_ptr<CView>> released_;
    CView* captured_ = nullptr;
    CView* hover_ = nullptr;
    CView* focusView_ = nullptr;
    CPoint mouseLocation_{-1, -1};
    bool wantsKeyboardFocus_ = false;
    bool hasKeyboardFocus_ = false;
    Framebuffer framebuffer_;
    DirtyRegion dirty_;
    std::unique_ptr<PlatformWindow> window_;
};

} // namespace velmora::toolkit
