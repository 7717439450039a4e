#include "Forms/ControlTable.h"

void CreateControls(std::span<const ControlRow> rows) {
    for (const ControlRow& row : rows) {
        platform::CreateControl(row.number, row.shape);
        if (row.font >= 0) {
            platform::SetControlFont(row.number, row.font);
        }
        if (!row.enabled) {
            platform::SetControlEnabled(row.number, false);
        }
        if (row.hidden) {
            platform::SetControlHidden(row.number, true);
        }
    }
}
