# Debian packages, sourced by the scripts: what building needs, what tests add.
BUILD_PACKAGES="cmake make g++ libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev libx11-dev"
TEST_PACKAGES="$BUILD_PACKAGES libgtest-dev libgmock-dev libbenchmark-dev"
