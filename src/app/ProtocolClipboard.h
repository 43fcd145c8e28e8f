// The survey protocol on the clipboard: for display type 6 the clipboard
// command puts the protocol's text there instead of a picture.
#pragma once

namespace hp::app {

class CPlanView;

// Puts the protocol of the view's worksheet on the clipboard as plain text
// (tab-separated, decimal commas). False, and nothing copied, when the
// worksheet shows no protocol: the caller copies the picture then.
bool CopyProtocolToClipboard(CPlanView& view);

}  // namespace hp::app
