# What `cmake --install` puts in place and what `./run package` ships, every install rule of the
# project: the module in lib/vst, the LV2 bundle in lib/lv2/wrenfold.lv2, the tools users run with
# their manual pages, the documents; then the Debian package (CPack) and the Windows archive.
# Included by the top-level CMakeLists.txt on Linux, after the tools.
include(GNUInstallDirs)

# The common Linux hosts of the module's interface scan the vst folders (VST_PATH, ~/.vst,
# /usr/lib/vst); the lxvst ones are scanned by fewer. LV2 hosts look in lib/lv2, whatever the
# multiarch folder.
install(TARGETS wrenfold LIBRARY DESTINATION ${WRENFOLD_VST_DIR})
install(TARGETS wrenfold_lv2_module LIBRARY DESTINATION lib/lv2/wrenfold.lv2)
install(FILES ${WRENFOLD_LV2_DATA} DESTINATION lib/lv2/wrenfold.lv2)
install(TARGETS wrenfold-render wrenfold-info wrenfold-snapshot wrenfold-preview
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages, made at build time by help2man from each tool's --help and --version, so they say
# what the tools say, with the exit status, environment, files and examples of
# cmake/package/man/TOOL.h2m (and the module's search path for the tools that search). help2man
# reads a synopsis from "Usage:" lines and options from an "Options:" section; a filter puts the
# tools' own "usage:" and "options:" into that shape.
set(package_man_pages
  wrenfold-render "render audio files through the Wrenfold delay" module-search
  wrenfold-info "print what a host sees of the Wrenfold module" module-search
  wrenfold-snapshot "draw the Wrenfold editor into a PNG file" none
  wrenfold-preview "show the Wrenfold editor in a window of its own" none)
set(package_man_texts ${CMAKE_SOURCE_DIR}/cmake/package/man)
find_program(WRENFOLD_HELP2MAN help2man)
if(WRENFOLD_HELP2MAN)
  set(package_pages)
  while(package_man_pages)
    list(POP_FRONT package_man_pages package_tool package_summary package_shared)
    set(package_includes ${package_man_texts}/${package_tool}.h2m)
    if(NOT package_shared STREQUAL none)
      list(APPEND package_includes ${package_man_texts}/${package_shared}.h2m)
    endif()
    list(TRANSFORM package_includes PREPEND --include= OUTPUT_VARIABLE package_include_options)
    set(package_filter ${CMAKE_BINARY_DIR}/man/${package_tool}-for-help2man)
    file(GENERATE OUTPUT ${package_filter}
      CONTENT "#!/bin/sh\n'$<TARGET_FILE:${package_tool}>' \"$@\" | sed -f '${CMAKE_SOURCE_DIR}/cmake/package/help2man.sed'\n"
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set(package_page ${CMAKE_BINARY_DIR}/man/${package_tool}.1)
    add_custom_command(OUTPUT ${package_page}.gz
      COMMAND ${WRENFOLD_HELP2MAN} --no-info "--name=${package_summary}" ${package_include_options}
        --output=${package_page} ${package_filter}
      COMMAND gzip -9nf ${package_page}
      DEPENDS ${package_tool} ${CMAKE_SOURCE_DIR}/cmake/package/help2man.sed ${package_includes}
      COMMENT "Writing the manual page of ${package_tool}" VERBATIM)
    list(APPEND package_pages ${package_page}.gz)
  endwhile()
  add_custom_target(wrenfold-man-pages ALL DEPENDS ${package_pages})
  install(FILES ${package_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: the tools are built without manual pages")
endif()

# The plug-in's own page, wrenfold(7): its text with the tables of parameters, note lengths and
# programs that wrenfold-manpage writes from the parameter table.
set(package_plugin_page ${CMAKE_BINARY_DIR}/man/wrenfold.7)
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/man/wrenfold.7.in ${package_plugin_page}.in @ONLY)
add_custom_command(OUTPUT ${package_plugin_page}.gz
  COMMAND wrenfold-manpage ${package_plugin_page}.in > ${package_plugin_page}
  COMMAND gzip -9nf ${package_plugin_page}
  DEPENDS wrenfold-manpage ${package_plugin_page}.in
  COMMENT "Writing the manual page wrenfold(7)" VERBATIM)
add_custom_target(wrenfold-plugin-page ALL DEPENDS ${package_plugin_page}.gz)
install(FILES ${package_plugin_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man7)

# The documents: a short README for users (the repository's is for developers), the changelog and, where Debian wants the license, a copyright file that
# also lists the libraries the binaries link.
set(package_doc ${CMAKE_BINARY_DIR}/doc)
set(package_maintainer "the Wrenfold authors <dev@wrenfold.invalid>")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE
  ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/package/windows-notices.txt)
# The Debian changelog, made from CHANGELOG.md: each "## VERSION (DATE)" section is an entry and
# its "- " items the entry's items. Semicolons are kept apart while the text is split into lines.
file(READ ${CMAKE_SOURCE_DIR}/CHANGELOG.md package_changes)
string(REPLACE ";" "<semicolon>" package_changes "${package_changes}")
string(REPLACE "\n" ";" package_changes "${package_changes}")
set(package_changelog "")
set(package_trailer "")
set(package_versions "")
foreach(line IN LISTS package_changes)
  string(REPLACE "<semicolon>" ";" line "${line}")
  if(line MATCHES "^## ([0-9.]+) \\((.+)\\)$")
    list(APPEND package_versions ${CMAKE_MATCH_1})
    string(APPEND package_changelog "${package_trailer}"
      "wrenfold (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
    set(package_trailer "\n -- ${package_maintainer}  ${CMAKE_MATCH_2} 18:00:00 +0000\n\n")
  elseif(package_versions AND line MATCHES "^- (.*)$")
    string(APPEND package_changelog "  * ${CMAKE_MATCH_1}\n")
  elseif(package_versions AND line MATCHES "^  (.*)$")
    string(APPEND package_changelog "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
string(REGEX REPLACE "\n\n$" "\n" package_changelog "${package_changelog}${package_trailer}")
list(GET package_versions 0 package_latest)
if(NOT package_latest STREQUAL PROJECT_VERSION)
  message(WARNING "CHANGELOG.md: the top entry is not version ${PROJECT_VERSION}")
endif()
file(READ ${CMAKE_SOURCE_DIR}/LICENSE package_license)
# The license's terms without its title and copyright line, as a field of the copyright file.
string(REGEX REPLACE "^.*\n\nPermission" "Permission" package_terms "${package_license}")
string(STRIP "${package_terms}" package_terms)
string(REPLACE "\n\n" "\n.\n" package_terms "${package_terms}")
string(REPLACE "\n" "\n " WRENFOLD_LICENSE_TERMS " ${package_terms}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/copyright ${package_doc}/copyright @ONLY)
file(WRITE ${package_doc}/changelog.debian "${package_changelog}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/README ${package_doc}/README @ONLY)
add_custom_command(OUTPUT ${package_doc}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${package_doc}/changelog.debian ${package_doc}/changelog
  COMMAND gzip -9nf ${package_doc}/changelog
  DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md VERBATIM)
add_custom_target(wrenfold-docs ALL DEPENDS ${package_doc}/changelog.gz)
install(FILES ${package_doc}/README ${package_doc}/copyright ${package_doc}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: `cpack -G DEB` in the build tree builds everything, then writes
# out/wrenfold_VERSION_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wrenfold)
set(CPACK_PACKAGE_CONTACT "${package_maintainer}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo tempo-timed delay plug-in with its own editor")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Wrenfold is a stereo delay whose left and right echo times follow a tempo\n"
  "and a note length, with feedback, filters, a reverse mode and five factory\n"
  "programs. Hosts of the version-2 plug-in interface find the module in\n"
  "/usr/lib/vst and show its skinned editor; LV2 hosts (Ardour, Carla, PipeWire's\n"
  "filter chains, EasyEffects) find the same effect and editor in\n"
  "/usr/lib/lv2/wrenfold.lv2.\n"
  ".\n"
  "The package also holds wrenfold-render, which runs audio files through the\n"
  "delay from the command line, and wrenfold-info, wrenfold-snapshot and\n"
  "wrenfold-preview.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries' packages come from the binaries; the editor sets its texts in Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
# CPack gives any package with a library under /usr/lib scripts that run ldconfig; a plug-in folder
# needs none, and a package with a removal script stays known to dpkg after `apt remove`, with
# that script left behind. Naming scripts that do not exist turns them off (CPack warns that it
# cannot add them).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/no-maintainer-scripts/postinst
  ${CMAKE_BINARY_DIR}/no-maintainer-scripts/postrm)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/out)
include(CPack)

# The Windows archive, from the DLLs that ./run puts in out/windows-x64 and out/windows-x86: both
# DLLs, the license with the notices of the runtime linked into them, and which DLL to take, in one
# folder named after the version, so that unpacking never scatters files. The texts get Windows
# line ends.
set(package_folder wrenfold-${PROJECT_VERSION})
set(package_stage ${CMAKE_BINARY_DIR}/windows-zip/${package_folder})
file(READ ${CMAKE_SOURCE_DIR}/cmake/package/windows-notices.txt package_notices)
file(CONFIGURE OUTPUT ${package_stage}/LICENSE.txt CONTENT "${package_license}\n${package_notices}"
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/windows-readme.txt ${package_stage}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
set(package_files ${package_folder}/README.txt ${package_folder}/LICENSE.txt)
set(package_copies)
foreach(arch x64 x86)
  list(APPEND package_files ${package_folder}/${arch}/wrenfold.dll)
  list(APPEND package_copies COMMAND ${CMAKE_COMMAND} -E copy
    ${CMAKE_SOURCE_DIR}/out/windows-${arch}/wrenfold.dll ${package_stage}/${arch}/wrenfold.dll)
endforeach()
add_custom_target(wrenfold-windows-zip ${package_copies}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_SOURCE_DIR}/out/wrenfold-${PROJECT_VERSION}-windows.zip
    --format=zip ${package_files}
  WORKING_DIRECTORY ${package_stage}/..
  COMMENT "Writing out/wrenfold-${PROJECT_VERSION}-windows.zip" VERBATIM)
