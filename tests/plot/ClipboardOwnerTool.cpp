// Not a test: holds the clipboard from another process, as a spreadsheet or an editor would. It
// takes the clipboard with the text given, says "ready" and keeps it until another program takes
// it or 30 s have passed.
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv)
{
  if (argc != 2)
    return 2;
  gtk_init(&argc, &argv);
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_text(clipboard, argv[1], -1);
  g_signal_connect(clipboard, "owner-change", G_CALLBACK(+[](GtkClipboard*, GdkEvent*, gpointer) {
                     if (!gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD))
                       gtk_main_quit();
                   }),
                   nullptr);
  g_timeout_add_seconds(
      30,
      [](gpointer) -> gboolean {
        gtk_main_quit();
        return G_SOURCE_REMOVE;
      },
      nullptr);
  std::puts("ready");
  std::fflush(stdout);
  gtk_main();
  return 0;
}
