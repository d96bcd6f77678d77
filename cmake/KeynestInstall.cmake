# What `cmake --install` puts where: the programs, the desktop entry, the
# AppStream metadata, the icons in every hicolor size, the manual pages and
# the package documents.
include(GNUInstallDirs)

# Directories made by the installation get 0755 whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(KEYNEST_APP_ID io.keynest.Keynest)
set(keynest_dist ${PROJECT_SOURCE_DIR}/dist)
set(keynest_generated ${PROJECT_BINARY_DIR}/dist)
set(keynest_docdir ${CMAKE_INSTALL_DATADIR}/doc/keynest)

# Writes `input` gzip-compressed to `output` at configure time; `configure_file`
# makes a change of `input` configure again. -n leaves out the name and time,
# so an unchanged file compresses to the same bytes.
function(keynest_configure_gzipped input output)
  configure_file(${input} ${output} @ONLY)
  execute_process(COMMAND gzip -9 -n -c ${output} OUTPUT_FILE ${output}.gz
                  RESULT_VARIABLE gzip_result)
  if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${output}")
  endif()
endfunction()

if(TARGET keynest)
  install(TARGETS keynest RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${keynest_dist}/${KEYNEST_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${keynest_dist}/${KEYNEST_APP_ID}.metainfo.xml.in
                 ${keynest_generated}/${KEYNEST_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${keynest_generated}/${KEYNEST_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${keynest_dist}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icons/${KEYNEST_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  keynest_configure_gzipped(${keynest_dist}/keynest.1.in ${keynest_generated}/keynest.1)
  install(FILES ${keynest_generated}/keynest.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# Every manual page goes in compressed, as Debian's policy wants.
if(TARGET keynest-cli)
  install(TARGETS keynest-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  keynest_configure_gzipped(${PROJECT_SOURCE_DIR}/cli/keynest-cli.1 ${keynest_generated}/keynest-cli.1)
  install(FILES ${keynest_generated}/keynest-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The programs the installation holds, so that a packaging build can build
# just them (with CMAKE_SKIP_INSTALL_ALL_DEPENDENCY) and not every test.
add_custom_target(keynest_programs)
foreach(program keynest keynest-cli)
  if(TARGET ${program})
    add_dependencies(keynest_programs ${program})
  endif()
endforeach()

keynest_configure_gzipped(${keynest_dist}/changelog.in ${keynest_generated}/changelog)
install(FILES ${keynest_dist}/copyright ${keynest_generated}/changelog.gz
        DESTINATION ${keynest_docdir})
