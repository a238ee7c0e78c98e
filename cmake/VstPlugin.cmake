# qz_add_vst_plugin(target SOURCES file... [LIBS lib...])
# Builds a VST 2.4 plug-in DLL (<target>.dll in the binary folder) on plugin_framework. The entry
# (VSTPluginMain, DllMain) is compiled into the DLL itself, so the linker keeps it, and exported as
# "VSTPluginMain" and "main"; the runtime is linked statically, so the DLL needs only Win32 DLLs.
set(QZ_VST_ENTRY_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../plugin/framework/PluginEntry.cpp)
set(QZ_VST_ENTRY_DEF ${CMAKE_CURRENT_LIST_DIR}/../plugin/framework/PluginEntry.def)

function(qz_add_vst_plugin target)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${P_SOURCES} ${QZ_VST_ENTRY_SOURCE} ${QZ_VST_ENTRY_DEF})
  set_target_properties(${target} PROPERTIES PREFIX "")
  target_link_libraries(${target} PRIVATE ${P_LIBS} plugin_framework)
endfunction()
