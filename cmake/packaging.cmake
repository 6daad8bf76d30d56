# Packages, made by CPack from the install rules, in the build folder:
#   cpack -G DEB   a Debian package: the program and its man page, with the
#                  shared libraries it needs found by dpkg-shlibdeps
#   cpack -G TGZ   the same files as an archive, bin/ and share/man/
#   cpack -G ZIP   from a Windows build: quillmere.exe, which needs no DLL
#                  beside it
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VENDOR "The Quillmere authors")
set(CPACK_PACKAGE_CONTACT "The Quillmere authors <quillmere@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "magnitude tables of Butterworth and Bessel lowpass filters")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmere tabulates the magnitude of the frequency response of analogue lowpass\n"
    "filters, Butterworth and Bessel, of orders 2, 4 and 6, at 500 normalised\n"
    "frequencies, and writes one fixed-format text table per family,\n"
    "Butterworth.out and Bessel.out, the same bytes on every platform.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR TGZ)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends: computed from the binary

include(CPack)
