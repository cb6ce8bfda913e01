# The installed game and its Debian package, as a player gets them. The
# sanitizer builds leave them out: they check the install, not the code.
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  add_test(NAME install_game COMMAND ${CMAKE_CURRENT_LIST_DIR}/installedgame.sh ${CMAKE_BINARY_DIR})
  add_test(NAME install_deb COMMAND ${CMAKE_CURRENT_LIST_DIR}/debpackage.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install_game install_deb PROPERTIES TIMEOUT 300
                       ENVIRONMENT "HALVARDINE_NO_MSGBOX=1;ALSOFT_DRIVERS=null;SDL_AUDIODRIVER=dummy")
endif()
