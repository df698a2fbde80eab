# find_package(Tablehub): libTablehub.so with the platform layer under it, as
# Tablehub::Tablehub (its headers are named "knclientUI05/KNBitmap.h" and the
# like, from the prefix's include folder).
include(CMakeFindDependencyMacro)
find_dependency(Threads)
include(${CMAKE_CURRENT_LIST_DIR}/TablehubTargets.cmake)
