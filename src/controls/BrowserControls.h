#pragma once

#include "controls/DriveList.h"
#include "controls/ImageList.h"
#include "controls/ListControl.h"
#include "controls/Splitter.h"
#include "controls/TreeControl.h"

// The child controls of the folder browser as the logic owns them; BrowserWidget shows
// them. A new set has the list's four columns: "名前" (name), "更新日時" (modified,
// centred), "ｻｲｽﾞ" (size, right-aligned) and the hidden sort-key column.
struct BrowserControls {
    BrowserControls();

    TreeControl treeControl;
    ListControl listControl;
    ImageList imgLst;
    DriveList drive1;
    Splitter splitter;
};
