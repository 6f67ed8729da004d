#include "views/ObjectViewer.h"

#include "analysis/ReferenceNavigation.h"
#include "model/ObjectRecord.h"
#include "model/ObjektManager.h"
#include "views/AnsiText.h"

#include <wx/menu.h>
#include <wx/stc/stc.h>
#include <wx/treectrl.h>

#include <algorithm>

// F12, Shift+F12, Alt+Left, the outline's "Fields" and the tree's "Find references": the object
// viewer's questions to the reference index (analysis/ReferenceNavigation.h).

namespace {
constexpr int kFindReferencesItem = wxID_HIGHEST + 281;

// Where a tree item's declaration starts in the object text (the same data fillTree attaches).
class CFieldDeclaration : public wxTreeItemData {
public:
    explicit CFieldDeclaration(int position) : position(position) {}
    int position;
};
} // namespace

void CObjectViewer::bindNavigation()
{
    addFieldsRoot();
    // Keys go through the dialog's hook: the text control would take F12 and Alt+Left itself.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        const int key = event.GetKeyCode();
        if (key == WXK_F12 && event.GetModifiers() == wxMOD_NONE)
            GoToDefinition();
        else if (key == WXK_F12 && event.GetModifiers() == wxMOD_SHIFT)
            FindReferences();
        else if (key == WXK_LEFT && event.GetModifiers() == wxMOD_ALT)
            GoBack();
        else
            event.Skip();
    });
    // Field items carry their own data: activating one shows its declaration.
    m_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent& event) {
        const auto* field = dynamic_cast<CFieldDeclaration*>(m_tree->GetItemData(event.GetItem()));
        if (field == nullptr)
            return event.Skip();
        const int from = m_shown.at(field->position);
        selectAndScroll(from, m_text->GetLineEndPosition(m_text->LineFromPosition(from)), m_model.firstVisibleLineFor(field->position));
    });
    m_tree->Bind(wxEVT_TREE_ITEM_MENU, [this](wxTreeEvent& event) {
        const wxTreeItemId item = event.GetItem();
        wxMenu menu;
        menu.Append(kFindReferencesItem, "Find references");
        menu.Enable(kFindReferencesItem, m_tree->GetItemData(item) != nullptr);
        menu.Bind(wxEVT_MENU, [this, item](wxCommandEvent&) { FindReferencesOf(item); }, kFindReferencesItem);
        m_tree->PopupMenu(&menu, event.GetPoint());
    });
}

void CObjectViewer::addFieldsRoot()
{
    const CObjectRecord* record = m_model.object();
    if (record == nullptr || record->manager == nullptr || record->headerTypeWord() != "Table")
        return;
    CObjektManager& manager = *record->manager;
    const int object = manager.objectAt(record->objectSpan.start());
    const OutlineItem fields = fieldsOutline(manager, object);
    if (fields.children.empty())
        return;
    const wxTreeItemId root = m_tree->GetRootItem();
    wxTreeItemId parent = m_tree->AppendItem(root, fromAnsi(fields.text));
    for (const OutlineItem& field : fields.children)
        m_tree->AppendItem(parent, fromAnsi(field.text), -1, -1, new CFieldDeclaration(field.declPos));
}

int CObjectViewer::caretObjectOffset() const
{
    return caretObjectOffsetOf(m_text->GetCurrentPos());
}

int CObjectViewer::caretObjectOffsetOf(int shownPosition) const
{
    // The ANSI offset whose UTF-8 position is the last at or before the shown one.
    const auto it = std::upper_bound(m_shown.positions.begin(), m_shown.positions.end(), shownPosition);
    return std::max(0, static_cast<int>(it - m_shown.positions.begin()) - 1);
}

bool CObjectViewer::GoToDefinition()
{
    const CObjectRecord* record = m_model.object();
    if (record == nullptr || record->manager == nullptr)
        return false;
    const int pos = record->objectSpan.start() + caretObjectOffset();
    const CResultLocation definition = definitionAt(*record->manager, pos);
    if (definition.object == nullptr)
        return false;
    CResultLocation here;
    here.object = const_cast<CObjectRecord*>(record);
    here.position = pos;
    m_back.push_back(here);
    showLocation(definition);
    return true;
}

bool CObjectViewer::GoBack()
{
    if (m_back.empty())
        return false;
    const CResultLocation back = m_back.back();
    m_back.pop_back();
    showLocation(back);
    return true;
}

void CObjectViewer::showLocation(const CResultLocation& location)
{
    if (location.object != m_model.object()) {
        m_model = CObjectViewerModel(location);
        SetTitle(fromAnsi(m_model.title()));
        m_tree->Unbind(wxEVT_TREE_ITEM_ACTIVATED, &CObjectViewer::onTreeActivated, this);
        m_tree->DeleteAllItems();
        fillTree();
        addFieldsRoot();
        m_text->SetReadOnly(false);
        m_text->ClearAll();
        fillText();
    }
    const int offset = location.position - location.object->objectSpan.start();
    const int length = static_cast<int>(location.term.size());
    selectAndScroll(m_shown.at(offset), m_shown.at(offset + length), m_model.firstVisibleLineFor(offset));
}

bool CObjectViewer::requestReferences(int absolutePosition)
{
    const CObjectRecord* record = m_model.object();
    if (record == nullptr || record->manager == nullptr)
        return false;
    CObjektManager& manager = *record->manager;
    const int symbol = symbolAtPosition(manager, absolutePosition);
    if (symbol < 0)
        return false;
    m_referencesTarget = referenceTarget(manager, referenceIndex(manager), symbol);
    EndModal(wxID_CANCEL);
    return true;
}

bool CObjectViewer::FindReferences()
{
    const CObjectRecord* record = m_model.object();
    return record != nullptr && requestReferences(record->objectSpan.start() + caretObjectOffset());
}

bool CObjectViewer::FindReferencesOf(const wxTreeItemId& item)
{
    const CObjectRecord* record = m_model.object();
    if (record == nullptr || record->manager == nullptr || !item.IsOk())
        return false;
    if (const auto* field = dynamic_cast<CFieldDeclaration*>(m_tree->GetItemData(item)))
        return requestReferences(record->objectSpan.start() + field->position);
    // Procedures and globals: the first name on the declaration's line that the index knows.
    if (!ScrollToDeclaration(item))
        return false;
    const int from = caretObjectOffsetOf(m_text->GetSelectionStart());
    const std::string_view text = m_model.objectText();
    const size_t end = std::min(text.size(), text.find('\r', static_cast<size_t>(from)));
    for (int offset = from; offset < static_cast<int>(end); ++offset)
        if (symbolAtPosition(*record->manager, record->objectSpan.start() + offset) >= 0)
            return requestReferences(record->objectSpan.start() + offset);
    return false;
}
