# Run by CPack once the folder is laid out for packing. Its launcher was
# written for the packing folder, which will not exist where the archive is
# unpacked, and a desktop entry cannot name a program relative to itself: it
# goes, and installa-menu.sh writes it for wherever the folder was unpacked.
file(GLOB_RECURSE launchers "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/quorvel-con-vori.desktop")
if(launchers)
    file(REMOVE ${launchers})
endif()
