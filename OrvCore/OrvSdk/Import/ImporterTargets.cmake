# The importers' build helpers now live in the plug-in recipe, cmake/OrvPlugin.cmake
# (orv_plugin); this file stays only so that folders that still include it configure.
