#include "controls/BrowserControls.h"

BrowserControls::BrowserControls() {
    // Design widths in pixels; the stored widths replace them once they exist. The sort
    // key column is hidden: a click on the name header sorts on it.
    listControl.setColumns({
        ListColumn{"名前", 160, ColumnAlignment::Left, {}, false},
        ListColumn{"更新日時", 100, ColumnAlignment::Centre, {}, false},
        ListColumn{"ｻｲｽﾞ", 80, ColumnAlignment::Right, {}, false},
        ListColumn{"", 0, ColumnAlignment::Left, {}, true},
    });
}
