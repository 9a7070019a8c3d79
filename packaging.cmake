# The Debian package built by `make package`: camcurves_VERSION_ARCH.deb, dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME camcurves)
set(CPACK_PACKAGE_VENDOR "camcurves maintainers")
set(CPACK_PACKAGE_CONTACT "camcurves maintainers <maintainers@users.noreply.c-seed-c18422b6.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching tools for cam motion laws and disk cams")
set(CPACK_PACKAGE_DESCRIPTION "camcurves shows eight normalized cam motion laws as charts of displacement,
velocity and acceleration, and turns a disk cam with a knife-edge follower through
the rise, in one OpenGL window with a console dialogue in Japanese. camprofile gives
the numbers behind the pictures (jerk, characteristic values, tables, SVG plots) and
a real cam from a law: pressure angle, curvature and its profile as DXF or SVG.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
