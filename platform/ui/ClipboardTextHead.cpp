#include "ClipboardTextHead.h"

#include "TextConversion.h"

#include <gtk/gtk.h>

#include <cstring>
#include <string_view>

namespace {
struct SKeptHead {
  guint32 time = 0; // when the copy's owner took the clipboard; 0 matches no copy
  size_t lines = 0;
  bool hasText = false;
  std::string head; // UTF-8, as the clipboard hands text over
};
SKeptHead g_kept;
size_t g_lines = 0; // what the last caller asked for, so that a fetch in the background fits it
bool g_watching = false;

GtkClipboard* Clipboard()
{
  return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

GdkAtom TimestampTarget()
{
  return gdk_atom_intern_static_string("TIMESTAMP");
}

bool OwnedHere()
{
  // GDK knows this program's own windows, and keeps wrappers of other programs' windows it has
  // met, such as an earlier owner's (whose number a later program may be given again).
  GdkWindow* owner = gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD);
  return owner && gdk_window_get_window_type(owner) != GDK_WINDOW_FOREIGN;
}

std::string_view HeadOf(std::string_view text, size_t lines)
{
  size_t end = 0;
  for (size_t seen = 0; seen < lines; ++seen) {
    const size_t start = text.find_first_not_of("\r\n", end);
    if (start == std::string_view::npos)
      return text;
    end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      return text;
  }
  return text.substr(0, end);
}

void Keep(guint32 time, size_t lines, const gchar* text)
{
  g_kept.time = time;
  g_kept.lines = lines;
  g_kept.hasText = text != nullptr;
  g_kept.head = text ? std::string(HeadOf(text, lines)) : std::string();
}

// The owner's answer to TIMESTAMP; 0 when it gave none. GDK hands 32-bit items over as longs.
guint32 OwnerTime(const GtkSelectionData* data)
{
  if (!data || gtk_selection_data_get_format(data) != 32)
    return 0;
  const int length = gtk_selection_data_get_length(data);
  const guchar* bytes = gtk_selection_data_get_data(data);
  if (length >= int(sizeof(long))) {
    long value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return guint32(value);
  }
  guint32 value = 0;
  if (length >= int(sizeof value))
    std::memcpy(&value, bytes, sizeof value);
  return value;
}

void OnTextFetched(GtkClipboard*, const gchar* text, gpointer time)
{
  Keep(GPOINTER_TO_UINT(time), g_lines, text);
}

void OnOwnerTime(GtkClipboard* clipboard, GtkSelectionData* data, gpointer)
{
  const guint32 time = OwnerTime(data);
  if (time != 0 && time != g_kept.time)
    gtk_clipboard_request_text(clipboard, OnTextFetched, GUINT_TO_POINTER(time));
}

// Another program took the clipboard: its text is fetched now, while nobody waits for it.
void OnOwnerChange(GtkClipboard* clipboard, GdkEvent*, gpointer)
{
  if (!OwnedHere())
    gtk_clipboard_request_contents(clipboard, TimestampTarget(), OnOwnerTime, nullptr);
}

void Watch(GtkClipboard* clipboard)
{
  if (g_watching)
    return;
  g_watching = true;
  g_signal_connect(clipboard, "owner-change", G_CALLBACK(OnOwnerChange), nullptr);
}
} // namespace

bool ClipboardTextHead(size_t lines, std::wstring& head)
{
  GtkClipboard* clipboard = Clipboard();
  Watch(clipboard);
  g_lines = lines;
  guint32 time = 0;
  if (!OwnedHere()) {
    GtkSelectionData* stamp = gtk_clipboard_wait_for_contents(clipboard, TimestampTarget());
    time = OwnerTime(stamp);
    if (stamp)
      gtk_selection_data_free(stamp);
  }
  if (time == 0 || time != g_kept.time || lines != g_kept.lines) {
    gchar* text = gtk_clipboard_wait_for_text(clipboard);
    Keep(time, lines, text);
    g_free(text);
  }
  head = FromUtf8(g_kept.head).Str();
  return g_kept.hasText;
}
