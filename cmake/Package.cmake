# The installed program and its Debian package (scripts/package.sh).
#
# Installed, the program is /usr/bin/rsgz and the reader process /usr/libexec/rsgz/rsgz_reader; what
# it ships is read from /usr/share/rsgz (init/vesk.db, set/) and never written: each user's working
# folders are made in ~/.local/share/rsgz at the first start (src/app/ProgramFolders.h).
#
# The shipped files are made afresh in build/stage/, apart from build/rsgz/: that directory is a
# program directory someone may have worked in, and its set/ and data/ must not reach the package.

set(RSGZ_STAGE ${CMAKE_BINARY_DIR}/stage)
set(RSGZ_PACKAGE_VERSION "1.0F")
set(RSGZ_ICON_SIZES 16 22 24 32 48 64 128 256)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(WARNING "rsvg-convert is missing (Debian package librsvg2-bin, which scripts/setup.sh installs): "
                  "the package gets the scalable icon only")
endif()
find_program(GZIP_PROGRAM gzip REQUIRED)

set(stage_icons)
set(icon_commands)
foreach(size ${RSGZ_ICON_SIZES})
  set(png ${RSGZ_STAGE}/icons/hicolor/${size}x${size}/apps/rsgz.png)
  if(RSVG_CONVERT)
    list(APPEND icon_commands
      COMMAND ${CMAKE_COMMAND} -E make_directory ${RSGZ_STAGE}/icons/hicolor/${size}x${size}/apps
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/share/package/rsgz.svg)
  endif()
endforeach()

set(doc_sources ${CMAKE_SOURCE_DIR}/share/package/rsgz.1 ${CMAKE_SOURCE_DIR}/share/package/changelog)
add_custom_command(
  OUTPUT ${RSGZ_STAGE}/stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${RSGZ_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RSGZ_STAGE}/init ${RSGZ_STAGE}/set ${RSGZ_STAGE}/doc
          ${RSGZ_STAGE}/icons/hicolor/scalable/apps
  COMMAND rsgz_mkinit ${RSGZ_STAGE}/init/vesk.db
  COMMAND rsgz_mkset ${RSGZ_STAGE}/set
  COMMAND ${CMAKE_COMMAND} -E copy ${RSGZ_PAPER_FILES} ${RSGZ_STAGE}/set/
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/share/package/rsgz.svg ${RSGZ_STAGE}/icons/hicolor/scalable/apps/
  ${icon_commands}
  # Compressed as Debian wants them: the highest level, no name or time stamp inside.
  COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/share/package/rsgz.1 > ${RSGZ_STAGE}/doc/rsgz.1.gz
  COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/share/package/changelog > ${RSGZ_STAGE}/doc/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E touch ${RSGZ_STAGE}/stamp
  DEPENDS rsgz_mkinit rsgz_mkset ${RSGZ_PAPER_FILES} ${CMAKE_SOURCE_DIR}/share/package/rsgz.svg ${doc_sources}
  COMMENT "Making the files the installed program ships in stage/"
  VERBATIM)
add_custom_target(install_files ALL DEPENDS ${RSGZ_STAGE}/stamp)

include(GNUInstallDirs)
install(TARGETS rsgz RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS rsgz_reader RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/rsgz)
install(FILES ${RSGZ_STAGE}/init/vesk.db DESTINATION ${CMAKE_INSTALL_DATADIR}/rsgz/init)
install(DIRECTORY ${RSGZ_STAGE}/set DESTINATION ${CMAKE_INSTALL_DATADIR}/rsgz)
install(DIRECTORY ${RSGZ_STAGE}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/share/package/rsgz.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/share/package/org.rsgz.rsgz.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${RSGZ_STAGE}/doc/rsgz.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/share/package/copyright ${RSGZ_STAGE}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rsgz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rsgz)
set(CPACK_PACKAGE_VERSION ${RSGZ_PACKAGE_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "rsgz 开发组 <rsgz@rsgz.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personnel and payroll management (人事工资管理系统)")
# The long description below the summary; CPack indents its lines for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A single-user desktop program for the personnel office and the payroll
office of a small or middle-sized organisation. It keeps the employees and
everything recorded about them in one SQLite database, and runs the monthly
payroll: payroll sets and salary items with formulas, salary tables, income
tax and net pay, closing of a month, piece-rate and time-rate wages and the
bank disbursement file. Its windows are in Chinese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://support.rsgz.example/")
# The libraries it links are found by dpkg-shlibdeps; what it loads or shows by name is not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
