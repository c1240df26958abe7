# The Debian package of an installation (cpack -G DEB in the build folder,
# or scripts/package): quenlix_<version>_<arch>.deb, installed under /usr.
# Its dependencies are the libraries the binaries link, found by
# dpkg-shlibdeps; the program's own libraries are inside it.
set(QUENLIX_PACKAGE_MAINTAINER "Quenlix developers <quenlix@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenlix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "software for USB array spectrometers")
set(CPACK_PACKAGE_DESCRIPTION
    "Quenlix drives USB array spectrometers for Raman, LIBS, emission, transmission,
reflection and absorbance work: live spectra of several devices on one zoomable
chart, dark and reference spectra, peak search, ruby pressure read-out, wavelength
calibration written back into the device, spectra and timed series saved as text,
CSV or JCAMP-DX, and a pulsed laser driven over a serial port. quenlix-acquire takes
spectra from the command line. Its texts are in English, Simplified Chinese and
Traditional Chinese; without a spectrometer it runs with simulated ones.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUENLIX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese texts need a CJK font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
