#include "host/ui/PluginWindow.h"

#include "common/config/Configuration.h"
#include "host/core/IDriverInfo.h"
#include "host/core/ILogic.h"
#include "host/core/IPlugin.h"
#include "host/ui/AudioMidiDialog.h"
#include "host/ui/EmbeddedImages.h"
#include "host/ui/KeyboardModel.h"
#include "host/ui/KeyboardPanel.h"
#include "host/ui/MessageBoxes.h"
#include "host/ui/PluginPanel.h"
#include "host/ui/UiGlobals.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/mstream.h>
#include <wx/sizer.h>
#include <wx/timer.h>
#include <algorithm>
#include <boost/bind/bind.hpp>

namespace Ombix::Kelvane {

namespace {

enum MenuId { MenuExit = 1, MenuAudioSettings = 2, MenuKeyboard = 3 };

constexpr int titleIntervalMs = 1500;
const char* const defaultPathKey = "PluginSystem/VST2/DefaultPath";

wxIcon FrameIcon() {
  const EmbeddedImage png = FrameIconPng();
  wxMemoryInputStream stream(png.data, png.size);
  wxIcon icon;
  icon.CopyFromBitmap(wxBitmap(wxImage(stream, wxBITMAP_TYPE_PNG)));
  return icon;
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(PluginWindow, wxFrame)
  EVT_COMMAND(wxID_ANY, CommandsPendingEvent, PluginWindow::OnCommandsPending)
  EVT_SIZE(PluginWindow::OnSize)
  EVT_KEY_DOWN(PluginWindow::OnKeyDown)
  EVT_KEY_UP(PluginWindow::OnKeyUp)
  EVT_MENU(MenuKeyboard, PluginWindow::OnMenuKeyboard)
  EVT_MENU(MenuExit, PluginWindow::OnMenuExit)
  EVT_MENU(MenuAudioSettings, PluginWindow::OnMenuAudioSettings)
  EVT_TIMER(wxID_ANY, PluginWindow::OnTimer)
  EVT_CLOSE(PluginWindow::OnClose)
wxEND_EVENT_TABLE()
    // clang-format on

    PluginWindow::PluginWindow(Common::Config::Configuration* configuration, wxWindow* parent,
                               const std::string& title)
    : wxFrame(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE, "frame"),
      title_(title),
      configuration_(configuration) {
  SetIcon(FrameIcon());

  using boost::placeholders::_1;
  using boost::placeholders::_2;
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  panel_ = new PluginPanel(this);
  panel_->LayoutChanged.connect(boost::bind(&PluginWindow::FitFrame, this));
  panel_->EditorShown.connect(boost::bind(&PluginWindow::SetEditorShown, this, _1));
  panel_->Note.connect(boost::bind(&PluginWindow::OnPluginNote, this, _1, _2));
  panel_->Name.connect(boost::bind(&PluginWindow::OnPluginNameChanged, this, _1));
  keyboard_ = new KeyboardPanel(this);
  keyboard_->noteSignal.connect(boost::bind(&PluginWindow::OnKeyboardNote, this, _1, _2));
  sizer->Add(panel_, 1, wxEXPAND | wxALL, 0);
  sizer->Add(keyboard_, 0, wxEXPAND | wxALL, 0);
  SetSizer(sizer);
  sizer->SetSizeHints(this);

  auto* file = new wxMenu;
  file->Append(MenuAudioSettings, "&Audio Settings", "");
  file->Append(MenuExit, "E&xit", "");
  auto* view = new wxMenu;
  view->AppendCheckItem(MenuKeyboard, "&Keyboard", "Show/Hide keyboard");
  auto* menuBar = new wxMenuBar;
  menuBar->Append(file, "&File");
  menuBar->Append(view, "&View");
  SetMenuBar(menuBar);

  // No resize border and no maximize box until an editor is shown.
  SetWindowStyle(wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX | wxWANTS_CHARS);
  Show();
  const wxSize outer = GetSize();
  const wxSize client = GetClientSize();
  SetMinSize(wxSize(outer.x - client.x + 30, outer.y - client.y + 10));
  UpdateKeyboardVisibility();
  FitFrame();

  titleTimer_ = std::make_unique<wxTimer>(this);
  titleTimer_->Start(titleIntervalMs);
}

PluginWindow::~PluginWindow() {
  // Disposes every plug-in and stops the audio before any window goes.
  delete logic_;
  logic_ = nullptr;
  titleTimer_->Stop();
}

void PluginWindow::ConnectLogic(ILogic* logic) {
  logic_ = logic;
  logic_->SetLoaderThreads(0);
  logic_->CommandsPending.connect(boost::bind(&PluginWindow::PostCommandsPending, this));
  logic_->PluginAdded.connect(boost::bind(&PluginWindow::OnPluginAdded, this, boost::placeholders::_1));
  logic_->Scanning.connect([](const std::string&) {});
  logic_->ProcessCommands();
  ProcessPending();
  logic_->GetDriverInfo()->StartDriver();
  ProcessPending();
  if (!logic_->IsAudioRunning() &&
      ShowMessage("Audio is currently inactive. Open config dialog?", "Audio not configured",
                  wxYES_NO | wxICON_EXCLAMATION | wxCENTRE) == wxYES) {
    ShowAudioSettings();
  }
}

void PluginWindow::ShowAudioSettings() {
  AudioMidiDialog dialog(this, logic_->GetDriverInfo());
  dialog.ShowModal();
}

void PluginWindow::PostCommandsPending() {
  QueueEvent(new wxCommandEvent(CommandsPendingEvent, 0));
}

void PluginWindow::OnCommandsPending(wxCommandEvent&) {
  ProcessPending();
}

void PluginWindow::ProcessPending() {
  if (logic_ == nullptr) {
    return;
  }
  logic_->ProcessCommands();
  if (!closing_ && !logic_->IsAudioRunning()) {
    logic_->GetDriverInfo()->StartDriver();
  }
}

void PluginWindow::OnTimer(wxTimerEvent&) {
  UpdateTitle();
}

void PluginWindow::UpdateTitle() {
  if (logic_ != nullptr && logic_->IsAudioRunning()) {
    audioInactiveBlink_ = false;
  } else {
    audioInactiveBlink_ = !audioInactiveBlink_;
  }
  const std::string title = audioInactiveBlink_ ? "Audio inactive - Please check audio settings"
                                                : (editorShown_ ? pluginName_ : title_);
  // Setting a title costs the window system a round trip: only a new one is set.
  if (GetTitle() != title) {
    SetTitle(title);
  }
}

void PluginWindow::OnPluginNameChanged(const std::string& name) {
  pluginName_ = name;
  UpdateTitle();
}

void PluginWindow::OnPluginAdded(IPlugin* plugin) {
  plugin->Failed.connect(boost::bind(&PluginWindow::OnPluginLoadFailed, this, boost::placeholders::_1));
  panel_->SetPlugin(plugin);
}

void PluginWindow::OnPluginLoadFailed(IPlugin* plugin) {
  std::string text = "Plugin " + plugin->GetName() + " could not be loaded!";
  plugin->Dispose();
  text += " Exit program?";
  if (ShowMessage(text, "Error!", wxYES_NO | wxICON_ERROR | wxCENTRE) == wxYES) {
    Close(true);
  } else {
    AskForPlugin();
  }
}

void PluginWindow::AskForPlugin() {
  while (!ChoosePlugin()) {
    if (ShowMessage("No plugin loaded. Exit program?", "Exit?", wxYES_NO | wxCENTRE) == wxYES) {
      Close(false);
      return;
    }
  }
}

bool PluginWindow::ChoosePlugin() {
  std::string folder;
  if (configuration_ != nullptr) {
    folder = configuration_->GetString(defaultPathKey, "");
  }
  wxFileDialog dialog(this, wxGetTranslation("Choose a plugin to open"), folder, "",
                      wxGetTranslation("VST Plugins (*.dll)|*.dll|All Files (*.*)|*.*"),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST, wxDefaultPosition, wxDefaultSize, "filedlg");
  if (dialog.ShowModal() != wxID_OK) {
    return false;
  }
  // Only a file that is there is loaded, and only its folder becomes the place to look next time.
  const wxString path = dialog.GetPath();
  if (!wxFileExists(path)) {
    return false;
  }
  if (configuration_ != nullptr) {
    wxString chosenFolder;
    wxFileName::SplitPath(path, &chosenFolder, nullptr, nullptr);
    configuration_->SetString(defaultPathKey, chosenFolder.ToStdString());
  }
  logic_->CreatePlugin(path.ToStdString());
  logic_->ProcessCommands();
  return true;
}

void PluginWindow::OnMenuKeyboard(wxCommandEvent& event) {
  keyboardChecked_ = event.IsChecked();
  UpdateKeyboardVisibility();
}

void PluginWindow::OnMenuExit(wxCommandEvent&) {
  Close(false);
}

void PluginWindow::OnMenuAudioSettings(wxCommandEvent&) {
  ShowAudioSettings();
}

void PluginWindow::OnKeyDown(wxKeyEvent& event) {
  panel_->OnKeyDown(event);
}

void PluginWindow::OnKeyUp(wxKeyEvent& event) {
  panel_->OnKeyUp(event);
}

void PluginWindow::OnKeyboardNote(unsigned char note, bool on) {
  panel_->NoteActivity();
  IPlugin* plugin = panel_->GetPlugin();
  if (plugin != nullptr) {
    plugin->InjectMidi((on ? 0x90 : 0x80) | note << 8 | 100 << 16, 0);
  }
}

void PluginWindow::OnPluginNote(unsigned char note, bool on) {
  if (keyboard_ == nullptr) {
    return;
  }
  keyboard_->echoGuard = true;
  KeyboardModel* model = keyboard_->GetModel();
  if (note < NoteCount && (model->notes[note] != 0) != on) {
    model->notes[note] = on ? 1 : 0;
    model->noteChanged(note);
  }
  keyboard_->echoGuard = false;
}

void PluginWindow::SetEditorShown(bool shown) {
  editorShown_ = shown;
  long style = GetWindowStyleFlag();
  style = shown ? (style | wxRESIZE_BORDER) : (style & ~wxRESIZE_BORDER);
  // The border changes the frame's decorations: keep the client area, so the editor is not
  // squeezed behind scroll bars by the border alone.
  const wxSize client = GetClientSize();
  SetWindowStyleFlag(style);
  SetMaxSize(wxDefaultSize);
  SetClientSize(client);
  UpdateKeyboardVisibility();
}

int PluginWindow::KeyboardHeight() const {
  return keyboard_ != nullptr && keyboard_->IsShown() ? keyboard_->GetMinSize().y : 0;
}

void PluginWindow::UpdateKeyboardVisibility() {
  if (keyboard_ == nullptr) {
    return;
  }
  const int height = keyboard_->GetMinSize().y;
  const bool wasShown = keyboard_->IsShown();
  if (editorShown_ && keyboardChecked_) {
    keyboard_->Show();
    FitFrame();
    if (!wasShown) {
      SetSize(GetSize() + wxSize(0, height));
    }
  } else {
    keyboard_->Hide();
    if (wasShown) {
      SetSize(GetSize() - wxSize(0, height));
    }
    FitFrame();
  }
}

wxSize PluginWindow::MaximumFrameSize() const {
  const wxSize content = panel_->GetMaxSize();
  const wxSize panelOuter = panel_->GetSize();
  const wxSize panelClient = panel_->GetClientSize();
  wxSize scrollBars(0, 0);
  if (panelOuter.x < content.x || panelOuter.y < content.y) {
    scrollBars = panelOuter - panelClient;
  }
  const wxSize decorations = GetSize() - GetClientSize();
  const wxSize minimum = GetMinSize();
  return wxSize(std::max(decorations.x + content.x + scrollBars.x, minimum.x),
                std::max(decorations.y + content.y + scrollBars.y + KeyboardHeight(), minimum.y));
}

void PluginWindow::FitFrame() {
  if (panel_->AllowsFrameFit()) {
    // The client area takes the editor, the scroll bars and the keyboard exactly. Sized by the
    // client area with the bound lifted, so that a border that has just come or gone cannot make
    // the frame fall short of its content.
    const wxSize decorations = GetSize() - GetClientSize();
    const wxSize target = MaximumFrameSize() - decorations;
    SetMaxSize(wxDefaultSize);
    SetClientSize(target);
  }
  SetMaxSize(MaximumFrameSize());
}

void PluginWindow::OnSize(wxSizeEvent&) {
  if (panel_ == nullptr) {
    return;  // still being built
  }
  const int keyboardHeight = KeyboardHeight();
  const wxSize client = GetClientSize();
  if (keyboard_ != nullptr) {
    keyboard_->SetSize(0, client.y - keyboardHeight, client.x, keyboardHeight);
  }
  panel_->SetSize(0, 0, client.x, client.y - keyboardHeight);
  SetMaxSize(MaximumFrameSize());
}

void PluginWindow::OnClose(wxCloseEvent& event) {
  // The plug-in falls silent before anything is taken down: a note still sounding would otherwise
  // stop with a click when the audio stops. From now on nothing starts the audio again.
  closing_ = true;
  if (keyboard_ != nullptr) {
    keyboard_->ReleaseAllNotes();
  }
  if (logic_ != nullptr) {
    logic_->SilenceAudio();
  }
  Hide();
  event.Skip();
}

}  // namespace Ombix::Kelvane
