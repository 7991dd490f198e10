// Writes a script with its functions' own names shortened (parameters, variables, inner
// functions) and without comments or whitespace: emscripten's minifier keeps the names, which
// no one reads in the browser. Global names stay, as the page and the program's hooks use them.
// It is the terser that emscripten prints with, from its folder, over acorn as emcc finds it.
//   node minify.js EMSCRIPTEN_FOLDER INPUT OUTPUT
'use strict';
const acorn = require('acorn');
const fs = require('fs');
const path = require('path');

const [emscripten, input, output] = process.argv.slice(2);
const terser = require(path.join(emscripten, 'third_party', 'terser'));
const parsed = acorn.parse(fs.readFileSync(input, 'utf8'), {ecmaVersion: 'latest'});
const script = terser.AST_Node.from_mozilla_ast(parsed);
script.figure_out_scope();
script.compute_char_frequency();
script.mangle_names();
fs.writeFileSync(output, script.print_to_string({keep_quoted_props: true}) + '\n');
