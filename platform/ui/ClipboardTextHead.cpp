#include "ClipboardTextHead.h"

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <string_view>

namespace {
std::unique_ptr<CClipboardHeadKeeper> g_kept; // another program's copy; made by the first watch
GdkAtom g_keptForm = GDK_NONE;                // the form that copy's text came in

GtkClipboard* Clipboard()
{
  return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

GdkAtom Utf8Target()
{
  return gdk_atom_intern_static_string("UTF8_STRING");
}

// GDK knows this program's own windows, and keeps wrappers of other programs' windows it has met,
// such as an earlier owner's (whose number a later program may be given again).
bool IsHere(GdkWindow* owner)
{
  return owner && gdk_window_get_window_type(owner) != GDK_WINDOW_FOREIGN;
}

std::optional<std::string_view> Bytes(const GtkSelectionData* data)
{
  if (!data)
    return std::nullopt;
  const int length = gtk_selection_data_get_length(data);
  if (length < 0)
    return std::nullopt;
  return std::string_view(reinterpret_cast<const char*>(gtk_selection_data_get_data(data)), size_t(length));
}

void OnFetched(GtkClipboard* clipboard, GtkSelectionData* data, gpointer fetch)
{
  const unsigned id = GPOINTER_TO_UINT(fetch);
  const std::optional<std::string_view> bytes = Bytes(data);
  // An owner without UTF-8 may still hand over Latin-1 text, as Paste then takes it.
  if (!bytes && g_kept->Awaits(id) && gtk_selection_data_get_target(data) == Utf8Target()) {
    gtk_clipboard_request_contents(clipboard, GDK_TARGET_STRING, OnFetched, fetch);
    return;
  }
  if (bytes && g_kept->Awaits(id))
    g_keptForm = gtk_selection_data_get_target(data);
  g_kept->Answer(id, bytes);
}

// The owner's answer comes to OnFetched whenever it comes, possibly never: GTK gives up on a
// silent owner after half a minute or so, and a fetch begun since makes this one's answer moot.
void Fetch(GtkClipboard* clipboard)
{
  const unsigned id = g_kept->Begin();
  gtk_clipboard_request_contents(clipboard, Utf8Target(), OnFetched, GUINT_TO_POINTER(id));
}

// No owner at all is asked too: the display answers that at once, and some displays name no other
// program as the owner even when one holds the clipboard.
void FollowOwner(GtkClipboard* clipboard)
{
  if (!IsHere(gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD)))
    Fetch(clipboard);
}

void OnOwnerChange(GtkClipboard* clipboard, GdkEvent*, gpointer)
{
  FollowOwner(clipboard);
}

// The clipboard's text in the form Paste takes it, waiting for the owner as long as GTK does.
std::optional<std::string> WaitForText(GtkClipboard* clipboard, GdkAtom only = GDK_NONE)
{
  for (GdkAtom target : {Utf8Target(), GDK_TARGET_STRING}) {
    if (only != GDK_NONE && target != only)
      continue;
    GtkSelectionData* data = gtk_clipboard_wait_for_contents(clipboard, target);
    std::optional<std::string> text;
    if (const std::optional<std::string_view> bytes = Bytes(data))
      text = std::string(*bytes);
    if (data)
      gtk_selection_data_free(data);
    if (text)
      return text;
  }
  return std::nullopt;
}
} // namespace

void WatchClipboardText(size_t lines)
{
  if (g_kept)
    return;
  g_kept = std::make_unique<CClipboardHeadKeeper>(lines);
  GtkClipboard* clipboard = Clipboard();
  g_signal_connect(clipboard, "owner-change", G_CALLBACK(OnOwnerChange), nullptr);
  FollowOwner(clipboard);
}

EClipboardHead ClipboardTextHead(size_t lines, std::wstring& head)
{
  WatchClipboardText(lines);
  head.clear();
  GtkClipboard* clipboard = Clipboard();
  if (IsHere(gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD))) {
    // Handed over within this program, at once.
    const std::optional<std::string> text = WaitForText(clipboard);
    if (!text)
      return EClipboardHead::NoText;
    head = DecodeClipboardText(ClipboardHeadBytes(*text, lines, kClipboardHeadBytes)).Str();
    return EClipboardHead::Text;
  }
  if (lines != g_kept->Lines()) {
    g_kept->SetLines(lines);
    FollowOwner(clipboard);
  }
  if (g_kept->State() == EClipboardHead::Text)
    head = g_kept->Head();
  return g_kept->State();
}

bool ClipboardText(CString& text)
{
  // Another program's copy that was offered is asked for in the form it was fetched in: a
  // silent owner then costs one wait, not one for each form.
  const bool kept = g_kept && g_kept->State() == EClipboardHead::Text &&
                    !IsHere(gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD));
  const std::optional<std::string> bytes = WaitForText(Clipboard(), kept ? g_keptForm : GDK_NONE);
  if (!bytes)
    return false;
  text = DecodeClipboardText(*bytes);
  return true;
}
