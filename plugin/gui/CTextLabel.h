#pragma once

#include "plugin/gui/CParamDisplay.h"

#include <string>

namespace Gui {

// A text box that shows a fixed text of its own.
class CTextLabel : public CParamDisplay {
 public:
  CTextLabel(const CRect& size, const char* txt = nullptr, CBitmap* background = nullptr,
             const long style = 0);

  // Keeps a copy of the text (none for null); the box shows it at its next redraw.
  virtual void setText(const char* txt);
  // The text, null when there is none.
  virtual const char* getText() const;

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;

 protected:
  void freeText();

  std::string text;
  bool hasText = false;
};

}  // namespace Gui
