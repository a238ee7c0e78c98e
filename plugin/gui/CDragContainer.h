#pragma once

#include "plugin/gui/CReferenceCounter.h"

#include <ole2.h>

namespace Gui {

// What a drag carries, one item at a time: the dropped files or one text.
class CDragContainer : public CReferenceCounter {
 public:
  enum { kFile = 0, kText, kUnknown = -1 };

  explicit CDragContainer(IDataObject* platformDrag);
  ~CDragContainer() override;

  // The first item; null when there is none. The characters stay valid until the next call.
  void* first(long& size, long& type);
  void* next(long& size, long& type);
  long getType() const;
  long getCount() const { return nbItems; }

 protected:
  bool hasText() const;

  IDataObject* platformDrag;
  long nbItems = 0;
  long iterator = 0;
  char* lastItem = nullptr;
};

}  // namespace Gui
