#include "ClipboardTextHead.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

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

// Paste that waits on the fetch already under way rather than asking the owner again: it wants
// the whole text, which the offer does not keep.
bool g_pasteWaits = false;
std::optional<std::string> g_pasteBytes;

void OnFetched(GtkClipboard*, GtkSelectionData* data, gpointer fetch)
{
  const unsigned id = GPOINTER_TO_UINT(fetch);
  const std::optional<std::string_view> bytes = Bytes(data);
  if (!g_kept->Awaits(id))
    return;
  if (bytes) {
    g_keptForm = gtk_selection_data_get_target(data);
    if (g_pasteWaits)
      g_pasteBytes = std::string(*bytes);
  }
  g_kept->Answer(id, bytes);
}

// The owner names its forms first, which it does at once or not at all; its text is then asked
// for once, in UTF-8 if it has it, else as Latin-1. Asking form after form instead would cost a
// silent owner one wait for each.
void OnTargets(GtkClipboard* clipboard, GdkAtom* targets, gint count, gpointer fetch)
{
  const unsigned id = GPOINTER_TO_UINT(fetch);
  if (!g_kept->Awaits(id))
    return;
  GdkAtom form = GDK_NONE;
  for (GdkAtom wanted : {Utf8Target(), GDK_TARGET_STRING}) {
    if (targets && std::find(targets, targets + count, wanted) != targets + count) {
      form = wanted;
      break;
    }
  }
  if (form == GDK_NONE)
    g_kept->Answer(id, std::nullopt);
  else
    gtk_clipboard_request_contents(clipboard, form, OnFetched, fetch);
}

// The owner's answers come whenever they come, possibly never: GTK gives up on a silent owner
// after half a minute or so, and a fetch begun since makes this one's answer moot.
void Fetch(GtkClipboard* clipboard)
{
  const unsigned id = g_kept->Begin();
  gtk_clipboard_request_targets(clipboard, OnTargets, GUINT_TO_POINTER(id));
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

// The clipboard's text in one form, waiting for the owner as long as GTK does.
std::optional<std::string> WaitForText(GtkClipboard* clipboard, GdkAtom form)
{
  GtkSelectionData* data = gtk_clipboard_wait_for_contents(clipboard, form);
  std::optional<std::string> text;
  if (const std::optional<std::string_view> bytes = Bytes(data))
    text = std::string(*bytes);
  if (data)
    gtk_selection_data_free(data);
  return text;
}

// Text this program holds: handed over at once, in whichever form it has.
std::optional<std::string> OwnText(GtkClipboard* clipboard)
{
  std::optional<std::string> text = WaitForText(clipboard, Utf8Target());
  return text ? text : WaitForText(clipboard, GDK_TARGET_STRING);
}

// The answer of the fetch under way, whole: the loop runs as the window's own does meanwhile.
std::optional<std::string> AwaitFetch()
{
  const unsigned fetch = g_kept->Fetches();
  g_pasteWaits = true;
  g_pasteBytes.reset();
  while (g_kept->State() == EClipboardHead::NotYet && g_kept->Fetches() == fetch &&
         !IsHere(gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD)))
    g_main_context_iteration(nullptr, TRUE);
  g_pasteWaits = false;
  // A copy that arrived meanwhile is not the one Paste was chosen for.
  if (g_kept->Fetches() != fetch || g_kept->State() != EClipboardHead::Text)
    g_pasteBytes.reset();
  return std::exchange(g_pasteBytes, std::nullopt);
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
    const std::optional<std::string> text = OwnText(clipboard);
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
  GtkClipboard* clipboard = Clipboard();
  std::optional<std::string> bytes;
  if (!g_kept || IsHere(gdk_selection_owner_get(GDK_SELECTION_CLIPBOARD)))
    bytes = OwnText(clipboard);
  else if (g_kept->State() == EClipboardHead::Text)
    bytes = WaitForText(clipboard, g_keptForm); // once, in the form the offer fetched
  else if (g_kept->State() == EClipboardHead::NotYet)
    bytes = AwaitFetch();
  // An owner that gave no text was asked already.
  if (!bytes)
    return false;
  text = DecodeClipboardText(*bytes);
  return true;
}
