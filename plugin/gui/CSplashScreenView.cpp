#include "plugin/gui/CSplashScreenView.h"

#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CSplashScreen.h"

namespace Gui {

CSplashScreenView::CSplashScreenView(const CRect& size, CSplashScreen* splashScreen)
    : CView(size), splashScreen(splashScreen) {
  setTransparency(splashScreen->getTransparency());
  setBackground(splashScreen->getBackground());
}

void CSplashScreenView::draw(CDrawContext* context) {
  splashScreen->drawPicture(context, size);
  setDirty(false);
}

void CSplashScreenView::mouse(CDrawContext* context, CPoint&, long buttons) {
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  splashScreen->unSplash(context);
  CFrame* frame = pParentFrame;
  if (!frame) return;
  frame->setDirty(true);
  frame->setModalView(nullptr);
}

}  // namespace Gui
