# The files around the programs on Linux: desktop entry, icon, AppStream
# metainfo, manual pages, and the Debian copyright and changelog, the last
# three made in the build from the sources here.
set(APPSTREAM_ID example.c_seed_9b6bbb84.boulles)
install(FILES boulles.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES boulles.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The licence's text as a copyright file's paragraph: each line indented, blank ones as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^MIT License\n\nCopyright[^\n]*\n\n" "" license "${license}")
string(REGEX REPLACE "\n+$" "" license "${license}")
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " LICENSE_TEXT " ${license}")
set(doc ${CMAKE_CURRENT_BINARY_DIR}/doc)
configure_file(debian/copyright.in ${doc}/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${doc}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/boulles)

# gzip -n: no name or time stamp inside, so every build makes the same bytes.
function(add_gzipped source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9nc ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
  list(APPEND gzipped ${output})
  set(gzipped ${gzipped} PARENT_SCOPE)
endfunction()
set(gzipped)
add_gzipped(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${doc}/changelog.Debian.gz)
install(FILES ${doc}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/boulles)
install(FILES debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME boulles)
foreach(page boulles ball-trace)
  configure_file(man/${page}.1.in ${doc}/${page}.1 @ONLY)
  add_gzipped(${doc}/${page}.1 ${doc}/${page}.1.gz)
  install(FILES ${doc}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(boulles_documents ALL DEPENDS ${gzipped})

# A stripped program still carries the compilers' .comment section, which a
# package has no use for.
install(CODE "
if(CMAKE_INSTALL_DO_STRIP)
  foreach(program boulles ball-trace)
    execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()")
