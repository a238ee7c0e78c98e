#include "host/drivers/asio/AsioDriverList.h"

namespace Ombix::Kelvane {

namespace {

constexpr std::size_t longestName = 127;

class RegistryKey {
 public:
  RegistryKey(HKEY parent, const std::string& path) {
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &m_key) != ERROR_SUCCESS) m_key = nullptr;
  }
  ~RegistryKey() {
    if (m_key) RegCloseKey(m_key);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  explicit operator bool() const { return m_key != nullptr; }
  HKEY get() const { return m_key; }

  // A string value ("" for the default value); empty when missing or not a string.
  std::string Text(const char* name) const {
    char value[MAX_PATH * 2];
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
      return "";
    value[size] = '\0';
    if (type == REG_SZ) return value;
    char expanded[MAX_PATH * 2];
    const DWORD length = ExpandEnvironmentStringsA(value, expanded, sizeof expanded);
    return length > 0 && length <= sizeof expanded ? expanded : value;
  }

 private:
  HKEY m_key = nullptr;
};

CLSID ParseClassId(const std::string& text) {
  CLSID id{};
  wchar_t wide[64];
  if (text.empty() || MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 64) == 0 ||
      CLSIDFromString(wide, &id) != NOERROR)
    return CLSID{};
  return id;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

AsioDriverList::AsioDriverList() {
  ReadRegistry();
  if (!m_records.empty()) {
    const HRESULT result = CoInitialize(nullptr);
    m_comInitialised = SUCCEEDED(result);
  }
}

AsioDriverList::~AsioDriverList() {
  RemoveCurrent();
  for (auto& record : m_records)
    if (record.object) record.object->Release();
  if (m_comInitialised) CoUninitialize();
}

void AsioDriverList::ReadRegistry() {
  const RegistryKey drivers(HKEY_LOCAL_MACHINE, "software\\asio");
  if (!drivers) return;
  char subkey[MAX_PATH];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof subkey;
    const LONG result = RegEnumKeyExA(drivers.get(), i, subkey, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;
    const RegistryKey driver(drivers.get(), subkey);
    if (!driver) continue;
    const std::string classId = driver.Text("clsid");
    if (classId.empty()) continue;
    const RegistryKey server(HKEY_CLASSES_ROOT, "clsid\\" + classId + "\\InprocServer32");
    if (!server || !FileExists(server.Text(""))) continue;
    std::string name = driver.Text("description");
    if (name.empty()) name = subkey;
    if (name.size() > longestName) name.resize(longestName);
    m_records.push_back(Record{ParseClassId(classId), name, nullptr});
  }
}

std::string AsioDriverList::ListedName(const std::string& name) {
  return name.size() >= 32 ? name.substr(0, 28) + "..." : name;
}

std::string AsioDriverList::Name(int index) const {
  return index >= 0 && index < Count() ? ListedName(m_records[index].name) : "";
}

ASIOError AsioDriverList::Open(int index) {
  if (index < 0 || index >= Count()) return AsioResult::NoSuchDriver;
  Record& record = m_records[index];
  if (record.object) return AsioResult::DriverAlreadyOpen;
  void* object = nullptr;
  const HRESULT result =
      CoCreateInstance(record.classId, nullptr, CLSCTX_INPROC_SERVER, record.classId, &object);
  if (FAILED(result) || !object) return FAILED(result) ? result : E_NOINTERFACE;
  record.object = static_cast<IASIO*>(object);
  m_current = index;
  return AsioResult::Ok;
}

void AsioDriverList::RemoveCurrent() {
  if (m_current < 0) return;
  Record& record = m_records[m_current];
  if (record.object) record.object->Release();
  record.object = nullptr;
  m_current = -1;
}

IASIO* AsioDriverList::Current() const {
  return m_current >= 0 ? m_records[m_current].object : nullptr;
}

}  // namespace Ombix::Kelvane
