# The Debian package: `cpack -G DEB` in the build folder gives qz_<version>_<arch>.deb
# holding the installed tree under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qz)
set(CPACK_PACKAGE_VENDOR Keldoran)
set(CPACK_PACKAGE_CONTACT Keldoran)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Les calculettes de l'ingénieur et du technicien")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Les calculettes de l'ingénieur et du technicien
 QZ réunit cinq calculettes derrière une page d'accueil : standard avec bande
 papier, scientifique (y = f(x) pour une liste de x), statistique (régression,
 droite de Henry, diagramme), géométrique (53 figures planes et solides) et
 conversion d'unité avec analyse dimensionnelle. Chacune imprime ou exporte sa
 note de calcul. qz-cli offre les mêmes calculs en ligne de commande.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# The libraries come from the binaries themselves (dpkg-shlibdeps); what the
# program opens at run time rather than links is named here: Qt's French
# translations for its dialogs, and the typeface the pictures and reports use.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation")
# Opening the PDF manual goes through the desktop's document opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
# No maintainer scripts: the desktop entry, MIME and icon caches are refreshed
# by the dpkg triggers of desktop-file-utils, shared-mime-info and
# hicolor-icon-theme when the package adds or removes files in their folders.
include(CPack)
