# Install.cmake: where `cmake --install` puts Quorrel, the help document beside the built program, and the Debian package.
#
# The program looks for its help document, Quorr.html, in its own folder (QCoreApplication::applicationDirPath,
# the real folder of the executable, symlinks resolved). So the executable and the document live together in
# a private folder, <libexecdir>/quorrel, and <bindir>/quorrel is a relative symlink to the executable. The
# program keeps games in a Games folder beside itself, or in ~/.local/share/Quorrel/Games when it cannot
# create that folder, as in an installation that the player cannot write to.

include(GNUInstallDirs)

set(QUORREL_HELP_SOURCE ${PROJECT_SOURCE_DIR}/doc/Quorr.html)
set(QUORREL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/quorrel)

if(TARGET quorrel)
  # The build tree: the document is copied next to the built program, so that a program run from the build
  # folder finds its help. A custom command (not POST_BUILD) so that an edited document is copied again
  # without relinking.
  get_target_property(QUORREL_RUNTIME_DIR quorrel RUNTIME_OUTPUT_DIRECTORY)
  if(NOT QUORREL_RUNTIME_DIR)
    set(QUORREL_RUNTIME_DIR ${PROJECT_BINARY_DIR})
  endif()
  add_custom_command(
    OUTPUT ${QUORREL_RUNTIME_DIR}/Quorr.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUORREL_HELP_SOURCE} ${QUORREL_RUNTIME_DIR}/Quorr.html
    DEPENDS ${QUORREL_HELP_SOURCE}
    COMMENT "Copying the help document next to the program"
    VERBATIM)
  add_custom_target(quorrel_help DEPENDS ${QUORREL_RUNTIME_DIR}/Quorr.html)
  add_dependencies(quorrel quorrel_help)
endif()

# The installation. Without the game (QUORREL_GUI=OFF) only the solver is installed.
set(QUORREL_PROGRAMS quorrel-solve)
if(TARGET quorrel)
  list(PREPEND QUORREL_PROGRAMS quorrel)
  install(FILES ${QUORREL_HELP_SOURCE} DESTINATION ${QUORREL_PROGRAM_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/data/quorrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/quorrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(TARGETS ${QUORREL_PROGRAMS} RUNTIME DESTINATION ${QUORREL_PROGRAM_DIR})

# <bindir>/quorrel -> the executable, by a relative path, so that the link survives DESTDIR staging, a prefix
# given to `cmake --install --prefix`, and the package. The command-line solver quorrel-solve lies
# beside the game and is linked the same way.
foreach(quorrel_program IN LISTS QUORREL_PROGRAMS)
  file(RELATIVE_PATH QUORREL_LINK_TARGET ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBEXECDIR}/quorrel/${quorrel_program})
  install(CODE "
    set(quorrel_link \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${quorrel_program}\")
    if(IS_ABSOLUTE \"${CMAKE_INSTALL_BINDIR}\")
      set(quorrel_link \"${CMAKE_INSTALL_BINDIR}/${quorrel_program}\")
    endif()
    get_filename_component(quorrel_bindir \"\$ENV{DESTDIR}\${quorrel_link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${quorrel_bindir}\")
    message(STATUS \"Installing: \$ENV{DESTDIR}\${quorrel_link} -> ${QUORREL_LINK_TARGET}\")
    file(CREATE_LINK \"${QUORREL_LINK_TARGET}\" \"\$ENV{DESTDIR}\${quorrel_link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${quorrel_link}\")
  ")
endforeach()

# The Debian package: `cpack -G DEB` in the build folder writes quorrel_<version>_<arch>.deb there.
set(CPACK_PACKAGE_NAME quorrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorrel developers")
set(CPACK_PACKAGE_CONTACT "Quorrel developers <dev@quorrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "FreeCell solitaire played with the keyboard and heard through speech")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorrel developers <dev@quorrel.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorrel.invalid/")
# CPack puts the summary first, as the synopsis line, and this after it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorrel is a FreeCell solitaire for players who cannot see the screen. It is
played with the keyboard alone, and everything the player needs to know is
spoken through speech-dispatcher: the cell under the cursor and its card, the
card picked up, why a move is refused, the free cells and home cells, and the
end of the game. Games can be saved and opened again.")
# Library dependencies come from dpkg-shlibdeps (package dpkg-dev); the speech server is a program the
# speech library talks to, which no library dependency brings in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "speech-dispatcher")
# A voice for the server, and xdg-open, through which the Help command opens the document in a browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher-espeak-ng, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "orca")

include(CPack)
