# What `cmake --install` puts on the machine beyond the program and the help pages, and the
# Debian package made of it: `cpack -G DEB` in a build tree (scripts/tessary.sh package).

# Placeholders until the project has a web address of its own: the AppStream data names the
# address, and the component id is that address reversed.
set(TESSARY_HOMEPAGE "https://tessary.example")
set(TESSARY_APPSTREAM_ID "example.tessary.Tessary")
set(CPACK_PACKAGE_CONTACT "Tessary maintainers <maintainers@users.noreply.c-seed-9ab32cd6.example>")
set(desktop ${CMAKE_SOURCE_DIR}/desktop)
set(generated ${CMAKE_BINARY_DIR}/package)

# The faces go where fontconfig looks (share/fonts under the prefix, also ~/.local/share/fonts),
# so that word processors and browsers show raised and lowered characters too. The program
# reads its data folder's fonts/, which points there. They are a package of their own,
# fonts-tessary, so other programs can have them without the editor.
file(GLOB faces ${CMAKE_SOURCE_DIR}/fonts/*.ttf)
install(FILES ${faces} DESTINATION share/fonts/truetype/tessary COMPONENT fonts)
# An earlier install kept copies of the faces in share/tessary/fonts; the link replaces them.
install(CODE "set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/tessary/fonts\")
  if(IS_DIRECTORY \"\${link}\" AND NOT IS_SYMLINK \"\${link}\")
    file(REMOVE_RECURSE \"\${link}\")
  endif()
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/tessary\")
  file(CREATE_LINK ../fonts/truetype/tessary \"\${link}\" SYMBOLIC)")

configure_file(${desktop}/tessary.metainfo.xml.in ${generated}/${TESSARY_APPSTREAM_ID}.metainfo.xml
               @ONLY)
install(FILES ${generated}/${TESSARY_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)

# Each package's copyright file: the program's, and the faces' quoting fonts/LICENSE.
set(TESSARY_LICENSE "unspecified\n The program's sources carry no licence statement yet.")
file(READ ${CMAKE_SOURCE_DIR}/fonts/LICENSE fontsLicense)
string(FIND "${fontsLicense}" "\nCopyright:" start)
math(EXPR start "${start} + 1")
string(SUBSTRING "${fontsLicense}" ${start} -1 TESSARY_FONTS_LICENSE)
configure_file(${desktop}/copyright.in ${generated}/copyright @ONLY)
install(FILES ${generated}/copyright DESTINATION share/doc/tessary)
configure_file(${desktop}/fonts-copyright.in ${generated}/fonts/copyright @ONLY)
install(FILES ${generated}/fonts/copyright DESTINATION share/doc/fonts-tessary COMPONENT fonts)

# Man page and changelog are compressed without a time stamp, as Debian wants them.
configure_file(${desktop}/tessary.1.in ${generated}/tessary.1 @ONLY)
configure_file(${desktop}/changelog.in ${generated}/changelog @ONLY)
configure_file(${desktop}/fonts-changelog.in ${generated}/fonts/changelog @ONLY)
add_custom_command(OUTPUT ${generated}/tessary.1.gz ${generated}/changelog.gz
                          ${generated}/fonts/changelog.gz
  COMMAND gzip -9nkf tessary.1 changelog fonts/changelog
  DEPENDS ${generated}/tessary.1 ${generated}/changelog ${generated}/fonts/changelog
  WORKING_DIRECTORY ${generated} VERBATIM)
add_custom_target(tessary_package_docs ALL
  DEPENDS ${generated}/tessary.1.gz ${generated}/changelog.gz ${generated}/fonts/changelog.gz)
install(FILES ${generated}/tessary.1.gz DESTINATION share/man/man1)
install(FILES ${generated}/changelog.gz DESTINATION share/doc/tessary)
install(FILES ${generated}/fonts/changelog.gz DESTINATION share/doc/fonts-tessary COMPONENT fonts)

# Two packages: the program (tessary) and the faces (fonts-tessary, the same on every
# architecture), which the program needs at this very version.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL tessary fonts)
set(CPACK_PACKAGE_NAME tessary)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's description starts with its own synopsis line.
set(CPACK_DEBIAN_TESSARY_DESCRIPTION
    "editor for mathematics written as formatted plain text
Tessary is a desktop editor in which mathematics is written as formatted plain
text: every character typed in notation mode is set in one of nine notation
faces (Latin, Greek and symbols, each on the base line, raised or lowered),
so exponents, indices, Greek letters and symbols are typed straight from the
keyboard. Documents are RTF files; the editor exports HTML pages and prints
with headers, footers and a preview.")
set(CPACK_DEBIAN_FONTS_DESCRIPTION
    "notation faces for mathematics written as formatted plain text
The nine TrueType faces in which Tessary sets mathematics: Latin letters and
digits, Greek letters and mathematical symbols, each on the base line, raised
and lowered. Installed as system fonts, they let word processors and web
browsers show documents and pages written with Tessary with their raised and
lowered characters, with or without the editor.")
set(CPACK_DEBIAN_TESSARY_PACKAGE_NAME tessary)
set(CPACK_DEBIAN_FONTS_PACKAGE_NAME fonts-tessary)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_TESSARY_PACKAGE_SECTION editors)
# Fonts serve programs of any architecture (Multi-Arch: foreign). CPack 3.25 has no setting
# for that field, so it is written on a line of its own after the section.
set(CPACK_DEBIAN_FONTS_PACKAGE_SECTION "fonts\nMulti-Arch: foreign")
set(CPACK_DEBIAN_FONTS_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_TESSARY_PACKAGE_SHLIBDEPS ON)
# The toolkit loads its display plugin at run time, which the library scan cannot see.
set(CPACK_DEBIAN_TESSARY_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-tessary (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
