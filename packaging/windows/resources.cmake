# boulles.exe's resources: the manifest (supported Windows versions, DPI
# awareness), the icon, rasterised from boulles.svg at the sizes Explorer and
# the taskbar use, and the version information.
enable_language(RC)
set(RESOURCE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
string(REPLACE . , RESOURCE_VERSION_COMMAS ${RESOURCE_VERSION})
set(resources ${CMAKE_CURRENT_BINARY_DIR}/resources)
set(MANIFEST ${resources}/boulles.manifest)
configure_file(windows/boulles.manifest.in ${MANIFEST} @ONLY)

find_program(RSVG_CONVERT rsvg-convert)
# ImageMagick's, not a stand-in of the same name earlier on PATH
find_program(IMAGEMAGICK_CONVERT NAMES magick convert HINTS /usr/bin)
set(ICON_LINE "")
set(icon_files)
if(RSVG_CONVERT AND IMAGEMAGICK_CONVERT)
  set(icon ${resources}/boulles.ico)
  set(pngs)
  foreach(size 16 24 32 48 64 128 256)
    set(png ${resources}/boulles-${size}.png)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} boulles.svg
                       WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       DEPENDS boulles.svg VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  add_custom_command(OUTPUT ${icon} COMMAND ${IMAGEMAGICK_CONVERT} ${pngs} ${icon}
                     DEPENDS ${pngs} VERBATIM)
  set(ICON_LINE "1 ICON \"${icon}\"")
  set(icon_files ${icon})
else()
  message(WARNING "rsvg-convert or ImageMagick not found: boulles.exe gets no icon")
endif()

configure_file(windows/boulles.rc.in ${resources}/boulles.rc @ONLY)
# The icon is made here, the program in app/: the target orders them, and the
# property, set where the program is, rebuilds the resources when they change.
add_custom_target(boulles_resources DEPENDS ${icon_files})
add_dependencies(boulles boulles_resources)
target_sources(boulles PRIVATE ${resources}/boulles.rc)
set_source_files_properties(${resources}/boulles.rc TARGET_DIRECTORY boulles PROPERTIES
                            OBJECT_DEPENDS "${MANIFEST};${icon_files}")
if(MSVC)
  # The manifest is the resource's; the linker must not add one of its own.
  target_link_options(boulles PRIVATE /MANIFEST:NO)
endif()
