// A DLL with one export, loaded by the library tests.
extern "C" __declspec(dllexport) int testLibraryAnswer() {
  return 42;
}
