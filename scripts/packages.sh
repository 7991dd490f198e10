# Debian packages, sourced by the scripts: what building needs, what running
# needs on a machine without a display, and what the tests add.
# Mesa's GLX and its software renderer are named: they are only recommends of libgl1.
# The tests add git (the linter lists the sources with it) and file (CPack reads
# the binaries' types with it before dpkg-shlibdeps); a minimal Debian has neither.
# openbox and fluxbox: the demo's window is checked under real window managers.
# lintian, desktop-file-utils and appstream check the .deb and what it installs;
# x11-utils' xprop and xwininfo read a window's class and geometry.
# freeglut: the built-in sphere is checked against its sphere, and the frame
# benchmark's plain program draws with it; the demo itself does not use it.
# The Wayland backend: its development files (wayland-scanner comes with
# libwayland-bin, wayland-protocols has the XML of the fractional scale and the
# viewport), libdecor's cairo plugin for frames it draws, and the message box's
# font, DejaVu Sans, found through fontconfig.
WAYLAND_PACKAGES="libwayland-dev libwayland-bin wayland-protocols libegl-dev libegl-mesa0 libxkbcommon-dev libdecor-0-dev libdecor-0-plugin-1-cairo libcairo2-dev fonts-dejavu-core"
BUILD_PACKAGES="cmake ninja-build gcc g++ libgl1-mesa-dev libglu1-mesa-dev libx11-dev libx11-xcb-dev libglx-mesa0 libgl1-mesa-dri $WAYLAND_PACKAGES"
HEADLESS_PACKAGES="xvfb xauth xfonts-base xdotool x11-utils imagemagick"
# The Windows cross-build and its tests under Wine; wine's own fonts and two X
# libraries it loads are only its recommends. librsvg2-bin's rsvg-convert and
# ImageMagick make the program's icon from the SVG.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-win32 librsvg2-bin wine fonts-wine libxcursor1 libxcomposite1 xdotool x11-utils imagemagick"
# The builds that prove the same trajectory on other compilers and targets:
# clang; 32-bit x86 through g++ -m32 (not g++-multilib, which conflicts with the
# cross compilers); 64-bit Arm, s390x (big-endian), 64-bit RISC-V, little-endian
# POWER and 32-bit Arm, run under qemu-user; 32-bit Windows; and GoogleTest's
# sources, built for the cross targets.
TRAJECTORY_PACKAGES="clang lib32stdc++-12-dev lib32gcc-12-dev libc6-dev-i386 g++-aarch64-linux-gnu g++-s390x-linux-gnu g++-riscv64-linux-gnu g++-powerpc64le-linux-gnu g++-arm-linux-gnueabihf qemu-user googletest g++-mingw-w64-i686-win32"
# The page (emscripten, node) and its tests in Chromium, Firefox ESR and
# WebKitGTK's MiniBrowser (which comes with webkit2gtk-driver's library); npm
# fetches the drivers. Firefox and MiniBrowser run on an Xvfb of their own and
# draw WebGL with Mesa's EGL, GLX and software renderer, only recommends. A Node
# from NodeSource brings its own npm, which Debian's npm package would conflict with.
# rsvg-convert (librsvg2-bin) draws the installed page's PNG icons from the SVG.
WEB_BUILD_PACKAGES="cmake ninja-build emscripten nodejs librsvg2-bin"
WEB_PACKAGES="$WEB_BUILD_PACKAGES chromium firefox-esr webkit2gtk-driver xvfb libegl-mesa0 libglx-mesa0 libgl1-mesa-dri"
command -v npm >/dev/null 2>&1 || WEB_PACKAGES="$WEB_PACKAGES npm"
# The native builds' tests (ci, sanitize) need the first group; the rest can
# install while those run.
# sway, wtype and grim: the Wayland tests' compositor, keys and pictures; weston: a
# compositor that draws no frames (libdecor does), its screenshooter and a second client;
# kwin-wayland: a compositor that offers fractional scales.
NATIVE_TEST_PACKAGES="$BUILD_PACKAGES $HEADLESS_PACKAGES sway wtype grim weston kwin-wayland openbox fluxbox freeglut3-dev libgtest-dev libgmock-dev libbenchmark-dev libxtst-dev dpkg-dev file git clang-tidy cppcheck lintian desktop-file-utils appstream"
LATER_TEST_PACKAGES="$WINDOWS_PACKAGES $TRAJECTORY_PACKAGES $WEB_PACKAGES"
