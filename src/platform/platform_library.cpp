// Anchors the platform library so that it exists before any stand-in is added.
namespace platform {
int g_platformLibraryAnchor = 0;
}
