// The WebGL side of the OpenGL subset (opengl.cpp): the canvas's context, one shader program
// with OpenGL 1.1's lighting equation per vertex, the buffer of glBegin/glEnd and the sphere's
// mesh. opengl.cpp keeps the state; these functions only hand it to WebGL.

mergeInto(LibraryManager.library, {
  $WebGl: {
    surface: null,  // the canvas's WebGL context, once a pixel format is set
    gl: null,       // the same, while the rendering context is current
    program: null,
    uniforms: null,
    immediate: null,
    sphere: null,  // {vertices, indices, count}
    drawing: '',   // which buffers the attributes point into: 'immediate' or 'sphere'

    // The fixed-function state in use: light 0 white, directional from (0, 0, 1) in eye
    // space, with no ambient part of its own; global ambient light 0.2; no specular
    // reflectance, so no specular term; no emission. Normals are not normalised.
    VERTEX_SHADER: [
      'attribute vec3 position;',
      'attribute vec3 normal;',
      'attribute vec4 colour;',
      'uniform mat4 projection;',
      'uniform mat4 modelview;',
      'uniform mat3 normalMatrix;',
      'uniform float scale;',
      'uniform bool lighting;',
      'uniform bool light0;',
      'uniform bool colourMaterial;',
      'varying vec4 litColour;',
      'void main() {',
      '  gl_Position = projection * (modelview * vec4(position * scale, 1.0));',
      '  if (!lighting) {',
      '    litColour = colour;',
      '    return;',
      '  }',
      '  vec4 ambient = colourMaterial ? colour : vec4(0.2, 0.2, 0.2, 1.0);',
      '  vec4 diffuse = colourMaterial ? colour : vec4(0.8, 0.8, 0.8, 1.0);',
      '  vec3 lit = 0.2 * ambient.rgb;',
      '  if (light0)',
      '    lit += max(dot(normalMatrix * normal, vec3(0.0, 0.0, 1.0)), 0.0) * diffuse.rgb;',
      '  litColour = vec4(clamp(lit, 0.0, 1.0), diffuse.a);',
      '}'].join('\n'),
    FRAGMENT_SHADER: [
      'precision mediump float;',
      'varying vec4 litColour;',
      'void main() {',
      '  gl_FragColor = litColour;',
      '}'].join('\n'),
    POSITION: 0,
    NORMAL: 1,
    COLOUR: 2,
    VERTEX_BYTES: 40,  // position, normal, colour: ten floats

    compile: function(gl, type, source) {
      var shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      return shader;
    },

    link: function(gl) {
      var program = gl.createProgram();
      gl.attachShader(program, WebGl.compile(gl, gl.VERTEX_SHADER, WebGl.VERTEX_SHADER));
      gl.attachShader(program, WebGl.compile(gl, gl.FRAGMENT_SHADER, WebGl.FRAGMENT_SHADER));
      gl.bindAttribLocation(program, WebGl.POSITION, 'position');
      gl.bindAttribLocation(program, WebGl.NORMAL, 'normal');
      gl.bindAttribLocation(program, WebGl.COLOUR, 'colour');
      gl.linkProgram(program);
      return program;
    },

    // Points the three attributes at the immediate buffer or at the sphere's mesh, whose unit
    // normals are its positions too; the sphere's colour is the constant current one.
    use: function(gl, drawing) {
      if (WebGl.drawing === drawing)
        return;
      WebGl.drawing = drawing;
      if (drawing === 'immediate') {
        gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.immediate);
        gl.vertexAttribPointer(WebGl.POSITION, 3, gl.FLOAT, false, WebGl.VERTEX_BYTES, 0);
        gl.vertexAttribPointer(WebGl.NORMAL, 3, gl.FLOAT, false, WebGl.VERTEX_BYTES, 12);
        gl.vertexAttribPointer(WebGl.COLOUR, 4, gl.FLOAT, false, WebGl.VERTEX_BYTES, 24);
        gl.enableVertexAttribArray(WebGl.COLOUR);
        gl.uniform1f(WebGl.uniforms.scale, 1);
      } else {
        gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.sphere.vertices);
        gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, WebGl.sphere.indices);
        gl.vertexAttribPointer(WebGl.POSITION, 3, gl.FLOAT, false, 12, 0);
        gl.vertexAttribPointer(WebGl.NORMAL, 3, gl.FLOAT, false, 12, 0);
        gl.disableVertexAttribArray(WebGl.COLOUR);
      }
    },
  },

  // A WebGL context on the page's canvas, as the surface a pixel format describes: true
  // colour, a depth buffer, no alpha (the page must not show through), double-buffered as
  // every WebGL canvas is. False when the browser has no WebGL.
  WebGlOpenSurface__deps: ['$WebGl'],
  WebGlOpenSurface: function() {
    if (!WebGl.surface) {
      WebGl.surface = Module['canvas'].getContext('webgl', {
        alpha: false, depth: true, stencil: false, antialias: false,
        preserveDrawingBuffer: false});
    }
    return WebGl.surface ? 1 : 0;
  },

  WebGlCreateContext__deps: ['$WebGl'],
  WebGlCreateContext: function() {
    var gl = WebGl.surface;
    if (!gl)
      return 0;
    var program = WebGl.link(gl);
    if (!gl.getProgramParameter(program, gl.LINK_STATUS))
      return 0;
    WebGl.program = program;
    WebGl.uniforms = {};
    ['projection', 'modelview', 'normalMatrix', 'scale', 'lighting', 'light0',
     'colourMaterial'].forEach(function(name) {
      WebGl.uniforms[name] = gl.getUniformLocation(program, name);
    });
    WebGl.immediate = gl.createBuffer();
    WebGl.sphere = {vertices: gl.createBuffer(), indices: gl.createBuffer(), count: 0};
    gl.enableVertexAttribArray(WebGl.POSITION);
    gl.enableVertexAttribArray(WebGl.NORMAL);
    return 1;
  },

  WebGlMakeCurrent__deps: ['$WebGl'],
  WebGlMakeCurrent: function(current) {
    WebGl.gl = current ? WebGl.surface : null;
    WebGl.drawing = '';
    if (WebGl.gl)
      WebGl.gl.useProgram(WebGl.program);
  },

  WebGlDeleteContext__deps: ['$WebGl'],
  WebGlDeleteContext: function() {
    var gl = WebGl.surface;
    gl.deleteProgram(WebGl.program);
    gl.deleteBuffer(WebGl.immediate);
    gl.deleteBuffer(WebGl.sphere.vertices);
    gl.deleteBuffer(WebGl.sphere.indices);
    WebGl.program = null;
    WebGl.gl = null;
  },

  WebGlEnableDepthTest__deps: ['$WebGl'],
  WebGlEnableDepthTest: function() {
    if (WebGl.gl)
      WebGl.gl.enable(WebGl.gl.DEPTH_TEST);
  },

  WebGlClear__deps: ['$WebGl'],
  WebGlClear: function(mask) {
    if (WebGl.gl)
      WebGl.gl.clear(mask);
  },

  WebGlViewport__deps: ['$WebGl'],
  WebGlViewport: function(x, y, width, height) {
    if (WebGl.gl)
      WebGl.gl.viewport(x, y, width, height);
  },

  WebGlSetProjection__deps: ['$WebGl'],
  WebGlSetProjection: function(matrix) {
    if (WebGl.gl)
      WebGl.gl.uniformMatrix4fv(WebGl.uniforms.projection, false,
                                HEAPF32.subarray(matrix >> 2, (matrix >> 2) + 16));
  },

  WebGlSetModelview__deps: ['$WebGl'],
  WebGlSetModelview: function(matrix, normalMatrix) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    gl.uniformMatrix4fv(WebGl.uniforms.modelview, false,
                        HEAPF32.subarray(matrix >> 2, (matrix >> 2) + 16));
    gl.uniformMatrix3fv(WebGl.uniforms.normalMatrix, false,
                        HEAPF32.subarray(normalMatrix >> 2, (normalMatrix >> 2) + 9));
  },

  WebGlSetLighting__deps: ['$WebGl'],
  WebGlSetLighting: function(lighting, light0, colourMaterial) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    gl.uniform1i(WebGl.uniforms.lighting, lighting);
    gl.uniform1i(WebGl.uniforms.light0, light0);
    gl.uniform1i(WebGl.uniforms.colourMaterial, colourMaterial);
  },

  WebGlDrawVertices__deps: ['$WebGl'],
  WebGlDrawVertices: function(mode, vertices, count) {
    var gl = WebGl.gl;
    if (!gl || count === 0)
      return;
    WebGl.use(gl, 'immediate');
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + count * 10),
                  gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
  },

  WebGlLoadSphere__deps: ['$WebGl'],
  WebGlLoadSphere: function(unitNormals, vertexCount, indices, indexCount) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    WebGl.drawing = '';
    gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.sphere.vertices);
    gl.bufferData(gl.ARRAY_BUFFER,
                  HEAPF32.subarray(unitNormals >> 2, (unitNormals >> 2) + vertexCount * 3),
                  gl.STATIC_DRAW);
    gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, WebGl.sphere.indices);
    gl.bufferData(gl.ELEMENT_ARRAY_BUFFER,
                  HEAPU16.subarray(indices >> 1, (indices >> 1) + indexCount), gl.STATIC_DRAW);
    WebGl.sphere.count = indexCount;
  },

  WebGlDrawSphere__deps: ['$WebGl'],
  WebGlDrawSphere: function(colour, radius) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    WebGl.use(gl, 'sphere');
    var c = colour >> 2;
    gl.vertexAttrib4f(WebGl.COLOUR, HEAPF32[c], HEAPF32[c + 1], HEAPF32[c + 2], HEAPF32[c + 3]);
    gl.uniform1f(WebGl.uniforms.scale, radius);
    gl.drawElements(gl.TRIANGLES, WebGl.sphere.count, gl.UNSIGNED_SHORT, 0);
  },
});
