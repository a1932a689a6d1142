#include "editor/MessageView.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/text/Font.h"

namespace velmora::editor {

using namespace toolkit;

namespace {

constexpr double kBoxWidth = 560;
constexpr double kBoxHeight = 64;
constexpr double kLineHeight = 16;
constexpr double kFontSize = 11;
constexpr CColor kBoxColour{24, 24, 28, 240};
constexpr CColor kEdgeColour{232, 160, 48, 255};
constexpr CColor kHintColour{160, 160, 160, 255};

} // namespace

MessageView::MessageView(const CRect& panel, std::string caption, std::string text)
    : CView(panel), caption_(std::move(caption)), text_(std::move(text)) {}

CRect MessageView::box() const {
    const CPoint centre = getViewSize().getCenter();
    return CRect::fromSize(centre.x - kBoxWidth / 2, centre.y - kBoxHeight / 2, kBoxWidth,
                           kBoxHeight);
}

// Only the box is painted: the panel stays in view around it.
void MessageView::draw(CDrawContext& context) {
    const CRect area = box();
    context.fillRect(area, kEdgeColour);
    context.fillRect(CRect{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1},
                     kBoxColour);
    const CFontDesc font("Arial", kFontSize);
    CRect line = CRect::fromSize(area.left + 8, area.top + 6, area.getWidth() - 16, kLineHeight);
    if (!caption_.empty()) drawString(context, font, caption_, line, kEdgeColour);
    line = line.offset(0, kLineHeight);
    drawString(context, font, text_, line, kWhiteCColor);
    line = line.offset(0, kLineHeight + 4);
    drawString(context, font, "Click to close", line, kHintColour);
    setDirty(false);
}

CMouseEventResult MessageView::onMouseDown(CPoint&, const CButtonState&) {
    if (CFrame* frame = getFrame()) {
        frame->setDirty(true);
        frame->clearModalView();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::editor
