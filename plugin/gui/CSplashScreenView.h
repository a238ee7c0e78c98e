#pragma once

#include "plugin/gui/CView.h"

namespace Gui {

class CSplashScreen;

// The picture of a splash screen while it is shown, as the frame's modal view.
class CSplashScreenView : public CView {
 public:
  CSplashScreenView(const CRect& size, CSplashScreen* splashScreen);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;

 private:
  CSplashScreen* splashScreen;
};

}  // namespace Gui
