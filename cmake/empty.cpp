// The conduit library is assembled from the layers' static libraries; this file gives CMake a source.
