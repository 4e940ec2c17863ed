# Run by CPack for the Debian package once the files are staged, for what Debian asks beyond a
# plain install: games' programs live in /usr/games (the program finds ../share/vallmora from there
# as from bin/), and the interface font is a link to fonts-dejavu-core's DejaVu Sans, which the
# package depends on, instead of a second copy (relative, as Debian wants links inside /usr).
set(usr "${CPACK_TEMPORARY_DIRECTORY}/usr")
if(NOT IS_DIRECTORY "${usr}/bin")
  message(FATAL_ERROR "the staged package has no ${usr}/bin")
endif()
file(RENAME "${usr}/bin" "${usr}/games")
set(font "${usr}/share/vallmora/data/gfx/gui/font.ttf")
if(NOT EXISTS "${font}")
  message(FATAL_ERROR "the staged package has no interface font at ${font}")
endif()
file(REMOVE "${font}")
file(CREATE_LINK "../../../../fonts/truetype/dejavu/DejaVuSans.ttf" "${font}" SYMBOLIC)
