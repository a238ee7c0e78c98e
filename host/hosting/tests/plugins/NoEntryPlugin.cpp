// A library that is no plug-in: it exports neither "VSTPluginMain" nor "main".

extern "C" __declspec(dllexport) int NotAPluginEntry() {
  return 42;
}
