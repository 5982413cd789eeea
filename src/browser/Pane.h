#pragma once

// The two panes of the browser: the folder tree and the file list.
enum class Pane { Tree, List };
