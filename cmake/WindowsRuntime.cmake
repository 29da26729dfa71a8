# What Windows programs of a build with Qt load at run time, copied beside them into bin/: Qt's DLLs,
# the platform and style plugins, MinGW's runtime DLLs and Qt's Japanese translations. Tests and
# Corvane.exe then run from bin/ as from the unzipped package (scripts/package-windows.sh).
if(CORVANE_CORE_ONLY)
  return()
endif()

set(qt_prefix ${QT6_INSTALL_PREFIX})
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
set(runtime_files
    ${qt_prefix}/bin/Qt6Core.dll ${qt_prefix}/bin/Qt6Gui.dll ${qt_prefix}/bin/Qt6Widgets.dll
    ${CORVANE_MINGW_RUNTIME_DLLS})
if(CORVANE_BUILD_TESTS)
  list(APPEND runtime_files ${qt_prefix}/bin/Qt6Test.dll)
endif()
# The offscreen and minimal platforms serve the tests and the rendering scripts; a player's program
# loads the windows platform and the Windows Vista style.
set(plugin_files platforms/qwindows.dll platforms/qoffscreen.dll platforms/qminimal.dll
    styles/qwindowsvistastyle.dll)

# Qt's Japanese catalogue of the same version, from the build machine's Qt (Debian's qt6-translations-l10n).
find_file(CORVANE_QTBASE_JA qtbase_ja.qm
          PATHS /usr/share/qt6/translations ${QT_HOST_PATH}/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT CORVANE_QTBASE_JA)
  message(FATAL_ERROR "qtbase_ja.qm not found: install qt6-translations-l10n")
endif()

set(bin ${CMAKE_BINARY_DIR}/bin)
set(outputs)
set(commands)
foreach(file ${runtime_files})
  get_filename_component(name ${file} NAME)
  list(APPEND outputs ${bin}/${name})
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${bin}/${name})
endforeach()
foreach(plugin ${plugin_files})
  get_filename_component(dir ${plugin} DIRECTORY)
  list(APPEND outputs ${bin}/${plugin})
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/${dir}
       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_plugins}/${plugin} ${bin}/${plugin})
  list(APPEND runtime_files ${qt_plugins}/${plugin})
endforeach()
list(APPEND outputs ${bin}/translations/qtbase_ja.qm)
list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/translations
     COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CORVANE_QTBASE_JA} ${bin}/translations/qtbase_ja.qm)
# Qt's offscreen platform, which the tests use, has no system fonts on Windows: it reads the fonts in
# lib/fonts below its prefix. IPA P Gothic stands in for the dialog font there, as on Linux.
if(CORVANE_BUILD_TESTS)
  file(GLOB ipa_fonts /usr/share/fonts/opentype/ipafont-gothic/ipag*.ttf)
  if(NOT ipa_fonts)
    message(FATAL_ERROR "IPA fonts not found: install fonts-ipafont-gothic")
  endif()
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/lib/fonts)
  foreach(font ${ipa_fonts})
    get_filename_component(name ${font} NAME)
    list(APPEND outputs ${bin}/lib/fonts/${name})
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${font} ${bin}/lib/fonts/${name})
    list(APPEND runtime_files ${font})
  endforeach()
endif()
add_custom_command(OUTPUT ${outputs} ${commands}
                   DEPENDS ${runtime_files} ${CORVANE_QTBASE_JA}
                   COMMENT "Copying Qt and MinGW's runtime beside the programs")
add_custom_target(corvane_windows_runtime ALL DEPENDS ${outputs})
