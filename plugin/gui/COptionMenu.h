#pragma once

#include "plugin/gui/CFocusWindowMessages.h"
#include "plugin/gui/CParamDisplay.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Gui {

class COptionMenuScheme;

// A text box that shows its current entry and, when clicked, opens a native pop-up menu of its
// entries at the control. Entry texts: "-" a separator; "-M" a sub-menu (shown greyed when no sub-menu
// was added with it), "-G" a greyed entry, "-T" a title, each shown without its prefix; anything else
// a normal entry. Every entry takes the item id of its index in the pop-up.
class COptionMenu : public CParamDisplay, public CFocusWindowMessages {
 public:
  static constexpr long kMaxEntries = 1024;

  COptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* background = nullptr,
              CBitmap* bgWhenClick = nullptr, const long style = 0);
  ~COptionMenu() override;

  virtual bool addEntry(const char* txt, long index = -1);
  virtual bool addEntry(COptionMenu* subMenu, const char* txt);
  virtual long getCurrent(char* txt = nullptr, bool countSeparator = true) const;
  virtual bool setCurrent(long index, bool countSeparator = true);
  virtual bool getEntry(long index, char* txt) const;
  virtual bool setEntry(long index, const char* txt);
  virtual bool removeEntry(long index);
  virtual bool removeAllEntry();
  virtual long getNbEntries() const { return static_cast<long>(entries.size()); }
  virtual long getIndex(const char* txt) const;
  virtual bool checkEntry(long index, bool state);
  virtual bool checkEntryAlone(long index);
  virtual bool isCheckEntry(long index) const;
  virtual void setNbItemsPerColumn(long value) { nbItemsPerColumn = value; }
  virtual long getNbItemsPerColumn() const { return nbItemsPerColumn; }
  virtual COptionMenuScheme* getScheme() const { return scheme; }
  virtual void setPrefixNumbers(long preCount);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  void looseFocus(CDrawContext* context = nullptr) override;
  void takeFocus(CDrawContext* context = nullptr) override;
  bool isTypeOf(const char* name) const override;
  void setValue(float val) override;

  // The scheme is not referenced: it must outlive the menu.
  void setScheme(COptionMenuScheme* newScheme) { scheme = newScheme; }
  COptionMenu* getSubMenu(long index) const;
  // The menu that held the last chosen item and, through idxInMenu, the item's index in it.
  COptionMenu* getLastItemMenu(long& idxInMenu) const;
  // The item id of the last choice, -1 when the pop-up was dismissed.
  long getLastResult() const { return lastResult; }

  bool getMenuItemSize(const char* itemText, CDrawContext* context, CPoint& size) override;
  bool drawMenuItem(const char* itemText, long itemId, long state, CDrawContext* context,
                    const CRect& rect) override;
  HBRUSH colourEditField(HDC deviceContext) override;

 protected:
  COptionMenu* getItemMenu(long idx, long& idxInMenu, long& offsetIdx);
  HMENU appendItems(long& offsetIdx);
  void removeItems();
  bool isSeparator(long index) const;
  bool isTitle(long index) const;
  // The sub-menu that the entry at index opens: the one added with it, while its text still starts
  // with "-M"; null for any other entry.
  COptionMenu* entrySubMenu(long index) const;

  HMENU pMenu = nullptr;
  std::vector<std::string> entries;
  std::vector<COptionMenu*> subMenus;
  std::vector<COptionMenu*> entrySubMenus;  // per entry: its sub-menu, or null
  std::vector<bool> checks;
  long currentIndex = -1;
  CBitmap* bgWhenClick;
  long lastButton = kRButton;
  long nbItemsPerColumn = -1;
  long lastResult = -1;
  long prefixNumbers = 0;
  COptionMenu* lastMenu = nullptr;
  COptionMenuScheme* scheme = nullptr;

 private:
  std::string numbered(const char* prefix, const char* txt, long number) const;
  POINT popupOrigin(CDrawContext* context) const;
  long chooseFromPopup(CDrawContext* context);
};

}  // namespace Gui
