#include "plugin/gui/COptionMenu.h"

#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/COptionMenuScheme.h"
#include "plugin/gui/ControlClick.h"

#include <cstdio>
#include <cstring>

namespace Gui {

namespace {

constexpr size_t kMaxText = 255;             // characters of an entry, without its terminator
constexpr long kMaxEntriesForColumns = 160;  // longer menus always show one column

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, 2, prefix) == 0;
}

// Entry texts with their kind prefix ("-M", "-G", "-T") show only what follows it.
const char* shownText(const std::string& text) {
  return text.c_str() + 2;
}

void copyOut(const std::string& text, char* out) {
  if (out) std::snprintf(out, kMaxText + 1, "%s", text.c_str());
}

}  // namespace

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                         CBitmap* bgWhenClick, const long style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
  this->listener = listener;
  this->tag = tag;
  if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::~COptionMenu() {
  removeAllEntry();
  if (bgWhenClick) bgWhenClick->forget();
}

bool COptionMenu::isSeparator(long index) const {
  return entries[index] == "-";
}

bool COptionMenu::isTitle(long index) const {
  return startsWith(entries[index], "-T");
}

COptionMenu* COptionMenu::entrySubMenu(long index) const {
  return startsWith(entries[index], "-M") ? entrySubMenus[index] : nullptr;
}

std::string COptionMenu::numbered(const char* prefix, const char* txt, long number) const {
  static const char* const kFormats[] = {"%s%1d %s", "%s%02d %s", "%s%03d %s"};
  char text[kMaxText + 1];
  if (prefixNumbers >= 2 && prefixNumbers <= 4) {
    std::snprintf(text, sizeof(text), kFormats[prefixNumbers - 2], prefix, static_cast<int>(number), txt);
  } else {
    std::snprintf(text, sizeof(text), "%s%s", prefix, txt);
  }
  return text;
}

void COptionMenu::setPrefixNumbers(long preCount) {
  prefixNumbers = preCount;
}

bool COptionMenu::addEntry(const char* txt, long index) {
  const long count = getNbEntries();
  if (count >= kMaxEntries) return false;
  long position = count;
  if (index >= 0) {
    position = index < count ? index : count;
    if (currentIndex >= index) ++currentIndex;
  }
  entries.insert(entries.begin() + position, txt ? numbered("", txt, position + 1) : std::string());
  entrySubMenus.insert(entrySubMenus.begin() + position, nullptr);
  checks.push_back(false);
  if (currentIndex < 0) currentIndex = 0;
  return true;
}

bool COptionMenu::addEntry(COptionMenu* subMenu, const char* txt) {
  if (getNbEntries() >= kMaxEntries || !subMenu || !txt) return false;
  entries.push_back(numbered("-M", txt, getNbEntries() + 1));
  entrySubMenus.push_back(subMenu);
  checks.push_back(false);
  subMenus.push_back(subMenu);
  subMenu->remember();
  if (currentIndex < 0) currentIndex = 0;
  return true;
}

long COptionMenu::getCurrent(char* txt, bool countSeparator) const {
  if (currentIndex < 0) return -1;
  copyOut(entries[currentIndex], txt);
  if (countSeparator) return currentIndex;
  long counted = 0;
  for (long i = 0; i < currentIndex; ++i) {
    if (!isSeparator(i) && !isTitle(i)) ++counted;
  }
  return counted;
}

bool COptionMenu::setCurrent(long index, bool countSeparator) {
  if (index < 0 || index >= getNbEntries()) return false;
  if (countSeparator) {
    if (isSeparator(index)) return false;
    currentIndex = index;
  } else {
    long counted = 0;
    long i = 0;
    for (; i < getNbEntries(); ++i) {
      if (!isSeparator(i) && !isTitle(i)) ++counted;
      if (counted > index) break;
    }
    currentIndex = i < getNbEntries() ? i : getNbEntries() - 1;
  }
  if (style & kMultipleCheckStyle) checks[currentIndex] = !checks[currentIndex];
  setDirty(true);
  return true;
}

bool COptionMenu::getEntry(long index, char* txt) const {
  if (index < 0 || index >= getNbEntries()) return false;
  copyOut(entries[index], txt);
  return true;
}

bool COptionMenu::setEntry(long index, const char* txt) {
  if (index < 0 || index >= getNbEntries()) return false;
  if (txt) entries[index].assign(txt, strnlen(txt, kMaxText));
  return true;
}

bool COptionMenu::removeEntry(long index) {
  if (index < 0 || index >= getNbEntries()) return false;
  entries.erase(entries.begin() + index);
  entrySubMenus.erase(entrySubMenus.begin() + index);
  checks.erase(checks.begin() + index);
  if (currentIndex >= index) --currentIndex;
  if (entries.empty()) currentIndex = -1;
  return true;
}

bool COptionMenu::removeAllEntry() {
  entries.clear();
  entrySubMenus.clear();
  checks.clear();
  for (COptionMenu* subMenu : subMenus) subMenu->forget();
  subMenus.clear();
  currentIndex = -1;
  return true;
}

long COptionMenu::getIndex(const char* txt) const {
  if (!txt) return -1;
  for (long i = 0; i < getNbEntries(); ++i) {
    if (entries[i] == txt) return i;
  }
  return -1;
}

bool COptionMenu::checkEntry(long index, bool state) {
  if (index < 0 || index >= getNbEntries()) return false;
  checks[index] = state;
  return true;
}

bool COptionMenu::checkEntryAlone(long index) {
  if (index < 0 || index >= getNbEntries()) return false;
  checks.assign(checks.size(), false);
  checks[index] = true;
  return true;
}

bool COptionMenu::isCheckEntry(long index) const {
  if (index < 0 || index >= getNbEntries()) return false;
  return checks[index];
}

COptionMenu* COptionMenu::getSubMenu(long index) const {
  if (index < 0 || index >= static_cast<long>(subMenus.size())) return nullptr;
  return subMenus[index];
}

COptionMenu* COptionMenu::getLastItemMenu(long& idxInMenu) const {
  idxInMenu = lastMenu ? static_cast<long>(lastMenu->getValue()) : -1;
  return lastMenu;
}

void COptionMenu::setValue(float val) {
  const long index = static_cast<long>(val);
  if (index < 0 || index >= getNbEntries()) return;
  currentIndex = index;
  if (style & kMultipleCheckStyle) checks[index] = !checks[index];
  CParamDisplay::setValue(val);
  setDirty(true);
}

void COptionMenu::draw(CDrawContext* context) {
  if (currentIndex < 0 || entries.empty()) {
    drawText(context, nullptr);
    return;
  }
  const std::string& text = entries[currentIndex];
  // The number that setPrefixNumbers put in front of the text is not shown.
  const size_t skip = prefixNumbers > 0 ? static_cast<size_t>(prefixNumbers) : 0;
  drawText(context, skip < text.size() ? text.c_str() + skip : "");
}

void COptionMenu::mouse(CDrawContext* context, CPoint&, long buttons) {
  if (!bMouseEnabled || !pParentFrame || !context) return;
  lastButton = buttons == -1 ? context->getMouseButtons() : buttons;
  if (listenerTookClick(listener, context, this, lastButton)) return;
  if (!(lastButton & (kLButton | kRButton | 64))) return;
  if (bgWhenClick) {
    char text[kMaxText + 1] = "";
    if (currentIndex >= 0) copyOut(entries[currentIndex], text);
    drawText(context, text, bgWhenClick);
  }
  beginEdit();
  takeFocus(context);
}

void COptionMenu::looseFocus(CDrawContext*) {
  pMenu = nullptr;
}

POINT COptionMenu::popupOrigin(CDrawContext* context) const {
  POINT origin{0, 0};
  if (context) {
    origin.x = context->offsetScreen.h;
    origin.y = context->offsetScreen.v;
  } else {
    RECT window;
    GetWindowRect(pParentFrame->getWindowHandle(), &window);
    origin.x = window.left;
    origin.y = window.top;
  }
  for (CView* parent = pParentView; parent; parent = parent->getParentView()) {
    if (parent->notify(const_cast<COptionMenu*>(this), kMsgCheckIfViewContainer) != kMessageNotified) break;
    CRect parentSize;
    parent->getViewSize(parentSize);
    origin.x += parentSize.left;
    origin.y += parentSize.top;
  }
  origin.x += size.left;
  origin.y += (style & kPopupStyle) ? size.top : size.bottom;
  return origin;
}

long COptionMenu::chooseFromPopup(CDrawContext* context) {
  const POINT origin = popupOrigin(context);
  long offset = 0;
  HMENU popup = appendItems(offset);
  HWND window = pParentFrame->getWindowHandle();
  long result = -1;
  UINT flags = TPM_LEFTALIGN;
  if (lastButton & kRButton) flags |= TPM_RIGHTBUTTON;
  if (popup && TrackPopupMenu(popup, flags, origin.x, origin.y, 0, window, nullptr)) {
    MSG message;
    if (PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(message.wParam) == 0) {
      result = LOWORD(message.wParam);
    }
  }
  removeItems();
  return result;
}

void COptionMenu::takeFocus(CDrawContext* context) {
  if (!pParentFrame) return;
  lastResult = -1;
  lastMenu = nullptr;
  lastResult = chooseFromPopup(context);

  CDrawContext* ownContext = nullptr;
  if (lastResult != -1 || bgWhenClick) {
    if (lastResult != -1 && !context) {
      ownContext = new CDrawContext(pParentFrame, nullptr, pParentFrame->getWindowHandle());
      context = ownContext;
    }
    if (bgWhenClick) setDirty(true);
    if (lastResult != -1) {
      long index = 0;
      long offset = getNbEntries();
      COptionMenu* chosen = nullptr;
      if (lastResult < getNbEntries()) {
        chosen = this;
        index = lastResult;
      } else {
        for (long i = 0; i < getNbEntries() && !chosen; ++i) {
          if (COptionMenu* subMenu = entrySubMenu(i))
            chosen = subMenu->getItemMenu(lastResult, index, offset);
        }
      }
      if (chosen) {
        lastMenu = chosen;
        chosen->setValue(static_cast<float>(index));
        if (listener) listener->valueChanged(context, chosen);
      }
    }
  }
  if (ownContext) ownContext->forget();
  pParentFrame->setFocusView(nullptr);
  endEdit();
}

COptionMenu* COptionMenu::getItemMenu(long idx, long& idxInMenu, long& offsetIdx) {
  const long first = offsetIdx;
  offsetIdx += getNbEntries();
  if (idx < offsetIdx) {
    idxInMenu = idx - first;
    return this;
  }
  for (long i = 0; i < getNbEntries(); ++i) {
    COptionMenu* subMenu = entrySubMenu(i);
    COptionMenu* found = subMenu ? subMenu->getItemMenu(idx, idxInMenu, offsetIdx) : nullptr;
    if (found) return found;
  }
  return nullptr;
}

HMENU COptionMenu::appendItems(long& offsetIdx) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  const UINT ownerDrawn = scheme ? MF_OWNERDRAW : 0;
  const long firstId = offsetIdx;
  offsetIdx += getNbEntries();
  long id = firstId;
  const bool columns = getNbEntries() < kMaxEntriesForColumns && nbItemsPerColumn > 0;

  for (long i = 0; i < getNbEntries(); ++i) {
    const std::string& text = entries[i];
    if (isSeparator(i)) {
      // Owner-drawn items carry their text as item data, separators too.
      AppendMenuA(menu, MF_SEPARATOR | ownerDrawn, 0, ownerDrawn ? text.c_str() : nullptr);
      ++id;
      continue;
    }
    UINT flags = ownerDrawn;
    if (columns && id != firstId && (id - firstId) % nbItemsPerColumn == 0) flags |= MF_MENUBARBREAK;
    // Every entry takes the id of its index, so the ids of later entries name them.
    if (startsWith(text, "-M")) {
      HMENU subMenu = entrySubMenu(i) ? entrySubMenu(i)->appendItems(offsetIdx) : nullptr;
      if (subMenu) {
        AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(subMenu), shownText(text));
        ++id;
        continue;
      }
    }
    const char* shown = text.c_str();
    if (startsWith(text, "-M")) {
      // A sub-menu entry without its sub-menu shows its text and cannot be chosen.
      flags |= MF_GRAYED;
      shown = shownText(text);
    } else if (startsWith(text, "-G")) {
      flags |= MF_GRAYED;
      shown = shownText(text);
    } else if (startsWith(text, "-T")) {
      flags |= MF_DISABLED;
      shown = shownText(text);
    } else if (style & kMultipleCheckStyle) {
      if (checks[i]) flags |= MF_CHECKED;
    } else if ((style & kCheckStyle) && i == currentIndex) {
      flags |= MF_CHECKED;
    }
    AppendMenuA(menu, flags, id, shown);
    ++id;
  }
  pMenu = menu;
  return menu;
}

void COptionMenu::removeItems() {
  // Destroying a pop-up destroys the pop-ups of its sub-menus with it: theirs are only forgotten.
  if (pMenu) DestroyMenu(pMenu);
  pMenu = nullptr;
  for (COptionMenu* subMenu : subMenus) {
    subMenu->pMenu = nullptr;
    subMenu->removeItems();
  }
}

bool COptionMenu::getMenuItemSize(const char* itemText, CDrawContext* context, CPoint& itemSize) {
  if (!scheme) return false;
  scheme->getItemSize(itemText, context, itemSize);
  return true;
}

bool COptionMenu::drawMenuItem(const char* itemText, long itemId, long state, CDrawContext* context,
                               const CRect& rect) {
  if (!scheme) return false;
  scheme->drawItem(itemText, itemId, state, context, rect);
  return true;
}

HBRUSH COptionMenu::colourEditField(HDC) {
  return nullptr;
}

bool COptionMenu::isTypeOf(const char* name) const {
  return std::strcmp(name, "COptionMenu") == 0 || CParamDisplay::isTypeOf(name);
}

}  // namespace Gui
