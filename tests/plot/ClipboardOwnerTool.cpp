// Not a test: holds the clipboard from another process, as a spreadsheet or an editor would. It
// takes the clipboard with the text given (its bytes as they are, valid UTF-8 or not), says
// "ready" and keeps it until another program takes it or 30 s have passed.
//   --rows N     appends N data rows "i\ti\n" (a large copy)
//   --line N     appends N bytes without a line end (one huge line)
//   --stall S    never answers: its loop stays busy for S seconds, then it exits
//   --exit-on-request  starts handing the text over, then exits in the middle of it
//   --string-only      offers the text as STRING (Latin-1) only, not as UTF8_STRING
//   --refuse-after N   hands the text over N times, then refuses every further request
//   --late-after N     hands the text over N times at once, then each time late
//   --late-ms MS       how late: 300 ms unless given
// It says "asked" on a line of its own at every request for the text, before it answers.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
std::string g_text;
bool g_exitOnRequest = false;
long g_requests = 0, g_refuseAfter = -1, g_lateAfter = -1, g_lateMs = 300;

void Hand(GtkClipboard*, GtkSelectionData* data, guint, gpointer)
{
  std::puts("asked");
  std::fflush(stdout);
  ++g_requests;
  if (g_refuseAfter >= 0 && g_requests > g_refuseAfter)
    return; // nothing set: the requestor is told there is no such text
  if (g_lateAfter >= 0 && g_requests > g_lateAfter)
    usleep(useconds_t(g_lateMs) * 1000);
  gtk_selection_data_set(data, gtk_selection_data_get_target(data), 8,
                         reinterpret_cast<const guchar*>(g_text.data()), int(g_text.size()));
  if (g_exitOnRequest)
    g_timeout_add(
        20, [](gpointer) -> gboolean { std::_Exit(0); }, nullptr);
}
} // namespace

int main(int argc, char** argv)
{
  gtk_init(&argc, &argv);
  long rows = 0, line = 0, stall = 0;
  bool stringOnly = false;
  int at = 1;
  for (; at + 1 < argc && std::strncmp(argv[at], "--", 2) == 0; ++at) {
    const std::string option = argv[at];
    if (option == "--exit-on-request") {
      g_exitOnRequest = true;
      continue;
    }
    if (option == "--string-only") {
      stringOnly = true;
      continue;
    }
    const long value = std::atol(argv[++at]);
    if (option == "--rows")
      rows = value;
    else if (option == "--line")
      line = value;
    else if (option == "--stall")
      stall = value;
    else if (option == "--refuse-after")
      g_refuseAfter = value;
    else if (option == "--late-after")
      g_lateAfter = value;
    else if (option == "--late-ms")
      g_lateMs = value;
    else
      return 2;
  }
  if (at + 1 != argc)
    return 2;
  g_text = argv[at];
  for (long i = 0; i < rows; ++i)
    g_text += std::to_string(i) + '\t' + std::to_string(i) + '\n';
  g_text.append(size_t(line), 'x');

  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  const GtkTargetEntry targets[] = {{const_cast<gchar*>("UTF8_STRING"), 0, 0},
                                    {const_cast<gchar*>("STRING"), 0, 0}};
  gtk_clipboard_set_with_data(clipboard, stringOnly ? targets + 1 : targets, stringOnly ? 1 : 2, Hand,
                              nullptr, nullptr);
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
  gdk_display_flush(gdk_display_get_default());
  std::puts("ready");
  std::fflush(stdout);
  if (stall > 0) {
    sleep(unsigned(stall));
    return 0;
  }
  gtk_main();
  return 0;
}
