# Puts a program's WebAssembly inside its script, as hex, and removes the .wasm: a page opened
# from disk may not fetch a file beside it (Chromium refuses), and it needs none then. Hex costs
# less than base64 once compressed, as its digits keep the bytes' patterns; at the end of the
# script (the declaration is hoisted), it leaves the code's patterns together.
#   cmake -DSCRIPT=boulles.js -DWASM=boulles.wasm -P embed_wasm.cmake
file(READ ${WASM} bytes HEX)
file(READ ${SCRIPT} script)
file(WRITE ${SCRIPT}
  "var Module = typeof Module != 'undefined' ? Module : {};\n"
  "Module.wasmBinary = EmbeddedWasm();\n"
  "${script}\n"
  "function EmbeddedWasm() {\n"
  "  var hex = '${bytes}';\n"
  "  var bytes = new Uint8Array(hex.length / 2);\n"
  "  for (var i = 0; i < bytes.length; ++i)\n"
  "    bytes[i] = parseInt(hex.substr(2 * i, 2), 16);\n"
  "  return bytes;\n"
  "}\n")
file(REMOVE ${WASM})
