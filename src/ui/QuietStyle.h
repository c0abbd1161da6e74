#pragma once

class QApplication;

namespace pesterly {

// Wraps the desktop's widget style so that the menu bar's overflow button takes its picture
// only when it is first painted: making that picture at once would decode a PNG, and Qt loads
// every image plugin it has to do that, at each start.
void UseQuietStyle(QApplication& app);

}  // namespace pesterly
