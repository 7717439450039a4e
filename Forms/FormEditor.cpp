#include "Forms/FormEditor.h"

#include "Forms/ControlTable.h"
#include "Forms/FormMAIN.h"
#include "platform/window.h"

namespace {

using platform::ControlKind;

const ControlRow kControls[] = {
    {EditorText, {ControlKind::RichEdit, FormEditor, 0, 25, 390, 410, ""}},
    {EditorButtonOpen, {ControlKind::Button, FormEditor, 0, 0, 50, 25, "Open"}},
    {EditorButtonSave, {ControlKind::Button, FormEditor, 50, 0, 50, 25, "Save"}},
    {EditorButtonSaveAs, {ControlKind::Button, FormEditor, 100, 0, 50, 25, "Save as"}},
    {EditorFileName, {ControlKind::Text, FormEditor, 155, 5, 230, 20, ""}},
    {EditorLineMeaning, {ControlKind::Text, FormEditor, 4, 436, 328, 20, ""}},
    {EditorLineType, {ControlKind::Text, FormEditor, 4, 456, 384, 20, ""}},
    {EditorLineSyntax, {ControlKind::Text, FormEditor, 4, 476, 384, 20, ""}},
};

}  // namespace

void OpenFormEditor() {
    platform::WindowSpec window;
    window.clientWidth = 388;
    window.clientHeight = 496;
    window.title = "Editor";
    window.style = platform::WindowStyle::Dialog;
    window.placement = platform::WindowPlacement::CentreOnOwner;
    window.owner = FormMAIN;
    platform::OpenWindow(FormEditor, window);

    CreateControls(kControls);
}
