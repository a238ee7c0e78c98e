#pragma once

namespace Gui {

// Base of the toolkit's shared objects. The creator holds the first reference; whoever keeps a pointer
// calls remember and later forget, and the last forget deletes the object.
class CReferenceCounter {
 public:
  CReferenceCounter() = default;
  virtual ~CReferenceCounter() = default;

  CReferenceCounter(const CReferenceCounter&) = delete;
  CReferenceCounter& operator=(const CReferenceCounter&) = delete;

  virtual void forget() {
    if (--nbReference == 0) delete this;
  }
  virtual void remember() { ++nbReference; }
  long getNbReference() const { return nbReference; }

 protected:
  long nbReference = 1;
};

}  // namespace Gui
