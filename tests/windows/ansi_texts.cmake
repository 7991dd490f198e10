# cmake -DPROGRAM=boulles.exe -P ansi_texts.cmake
# The message box texts must be stored as NUL-terminated Windows-1252, the bytes
# the "A" calls expect, and not as the UTF-8 of the sources.
file(READ ${PROGRAM} image HEX)

# hex of the Windows-1252 bytes, then of the UTF-8 bytes, of each text
set(texts
    "Mode graphique non supporté."
    "4d6f646520677261706869717565206e6f6e20737570706f7274e92e00"
    "4d6f646520677261706869717565206e6f6e20737570706f7274c3a92e00"
    "Problème"
    "50726f626ce86d6500"
    "50726f626cc3a86d6500")

set(failures 0)
while(texts)
  list(POP_FRONT texts text ansi utf8)
  string(FIND "${image}" "${ansi}" ansi_at)
  string(FIND "${image}" "${utf8}" utf8_at)
  if(NOT utf8_at EQUAL -1)
    message(SEND_ERROR "\"${text}\" is stored as UTF-8 in ${PROGRAM}")
    math(EXPR failures "${failures} + 1")
  elseif(ansi_at EQUAL -1)
    message(SEND_ERROR "\"${text}\" is not in ${PROGRAM} as Windows-1252")
    math(EXPR failures "${failures} + 1")
  endif()
endwhile()
if(failures EQUAL 0)
  message(STATUS "both texts are Windows-1252 in ${PROGRAM}")
endif()
