# Debian packages through CPack: `cpack` in the build directory writes
# fosdat_<version>_<arch>.deb and, with the sample data set, fosdat-sample_<version>_all.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fosdat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Fosdat developers")
set(CPACK_PACKAGE_CONTACT "The Fosdat developers <fosdat@example.org>")
# Each package brings its own first line of description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL viewer)
if(FOSDAT_HAVE_SAMPLE)
    list(APPEND CPACK_COMPONENTS_ALL sample)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_VIEWER_PACKAGE_NAME fosdat)
# Loaded at run time, so invisible to dpkg-shlibdeps: the window's font and
# Qt's own Russian texts (standard buttons and dialogs). The X11 platform
# plugin comes with libqt6gui6, which dpkg-shlibdeps finds.
set(CPACK_DEBIAN_VIEWER_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# notify-send: the launcher's word on where the data set goes.
set(CPACK_DEBIAN_VIEWER_PACKAGE_RECOMMENDS libnotify-bin)
set(CPACK_DEBIAN_VIEWER_PACKAGE_SUGGESTS fosdat-sample)
set(CPACK_COMPONENT_VIEWER_DESCRIPTION
    "viewer for a catalogue of Phanerozoic fossil animal genera
Fosdat shows the catalogue of about 36,000 genera of fossil marine animals of
the Phanerozoic, one animal group at a time, each genus with its stratigraphic
range and numbered literature references, beside the three reference lists.
It searches the catalogues for a genus name, saves the shown one as RTF,
prints it and writes it as PDF.

The data set is not part of this package: the program reads it from the
directory dat below its current directory. The menu entry starts it through
fosdat-launch, which finds a data set kept in ~/.local/share/fosdat/dat,
~/dat or /usr/share/fosdat/dat, and otherwise opens the sample data set and
says where the data set goes. fosdat-rtf2txt prints the text of a catalogue
file; fosdat-ranges prints the genera's ranges and the counts per stage as
CSV.

${PROJECT_DESCRIPTION}.")

set(CPACK_DEBIAN_SAMPLE_PACKAGE_NAME fosdat-sample)
set(CPACK_DEBIAN_SAMPLE_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_SAMPLE_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_SAMPLE_PACKAGE_DEPENDS "fosdat (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_SAMPLE_DESCRIPTION
    "sample data set for the Fosdat fossil genera catalogue
A made-up data set in the shape of the real one: the catalogues of all animal
groups, the three reference lists and the click sound. Its genera and
references are invented; it lets a user without the real data set try the
program. It comes with its own desktop entry, which starts Fosdat inside it.")

include(CPack)
