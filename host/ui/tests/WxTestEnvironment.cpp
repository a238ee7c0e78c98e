// Starts the toolkit once for a test program (a plain application object, the image handlers)
// and ends it after the last test.
#include "host/ui/tests/WxTestEnvironment.h"

// The toolkit's headers come first: they include the Windows headers in the order they need.
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/debug.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/window.h>

#include <gtest/gtest.h>
#include <windows.h>

namespace Testing {

namespace {

class WxEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    // A failed check of the toolkit fails the test instead of waiting in a message box.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& function, const wxString& condition,
                          const wxString& message) {
      ADD_FAILURE() << "toolkit check failed: " << file << ":" << line << " " << function << " " << condition
                    << " " << message;
    });
    wxApp::SetInstance(new wxApp);
    static int argc = 1;
    static wxChar name[] = L"test";
    static wxChar* argv[] = {name, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxImage::AddHandler(new wxPNGHandler);
    wxImage::AddHandler(new wxICOHandler);
  }
  void TearDown() override {
    wxTheApp->OnExit();
    wxEntryCleanup();
  }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxEnvironment);

}  // namespace

bool PumpEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done() && static_cast<int>(GetTickCount() - start) < timeoutMs) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();  // also deletes the windows that were destroyed
    Sleep(5);
  }
  return done();
}

void PumpEventsFor(int ms) {
  PumpEventsUntil([] { return false; }, ms);
}

wxImage Screen(wxWindow* window) {
  window->Refresh(true);
  window->Update();
  const wxSize size = window->GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxClientDC screen(window);
    wxMemoryDC copy(bitmap);
    copy.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  }
  return bitmap.ConvertToImage();
}

}  // namespace Testing
