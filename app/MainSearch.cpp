// The frame's signal search and its walks over the schemes: the signal
// search of F3 and its result list, and the services of the chain dialog.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "app/Main.h"
#include "app/Progress.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "editor/CheckConnect.h"
#include "editor/FindSign.h"
#include "fsm/fsmScheme.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "translator/TranslatorHost.h"

namespace {

// The schemes as a reading walk sees them: the document of a window that
// shows the scheme (unsaved edits count; the window is not brought forward),
// else the project's file of that name read into a document of the walk's
// own, read once per walk and freed with it. A scheme without a file reads as
// an empty document.
class TSchemeReader {
public:
    explicit TSchemeReader(const TMainForm* frame) : frame_(frame) {}
    TScheme* Read(const AnsiString& name) {
        if (ISchemeChild* window = frame_->FindSchemeWindow(name)) return window->SchemeDocument();
        auto& doc = read_[name];
        if (!doc) {
            doc = std::make_unique<TScheme>();
            const AnsiString path = ProjectPath(name);
            if (!path.IsEmpty()) {
                doc->SetFileName(path);
                doc->LoadFromFile();
            }
        }
        return doc.get();
    }

private:
    AnsiString ProjectPath(const AnsiString& name) const {
        TProject* project = frame_->CurrentProject.get();
        return project ? project->GetFilePath(ExtractFileName(name)) : AnsiString();
    }
    const TMainForm* frame_;
    std::map<AnsiString, std::unique_ptr<TScheme>> read_;
};

// The progress window as the project search shows it, put back as the
// translations expect it on every way out.
class TSearchProgress {
public:
    explicit TSearchProgress(int max) {
        if (!ProgressForm) return;
        ProgressForm->btHalt->SetVisible(true);
        ProgressForm->SetCaption(" Поиск ... "_a);
        ProgressForm->SetMax(max);
        ProgressForm->SetProgress(0);
        ProgressForm->Show();
    }
    ~TSearchProgress() {
        if (!ProgressForm) return;
        ProgressForm->SetCaption(" Трансляция "_a);
        ProgressForm->Hide();
        ProgressForm->btHalt->SetVisible(false);
    }
    TSearchProgress(const TSearchProgress&) = delete;
    TSearchProgress& operator=(const TSearchProgress&) = delete;
    // Pressing "Остановить" hides the button.
    bool Stopped() const { return ProgressForm && !ProgressForm->btHalt->Visible(); }
    void Scheme(const AnsiString& entry) const {
        if (ProgressForm) ProgressForm->Label1->SetCaption(" Схема "_a + entry);
    }
    void Step() const {
        if (ProgressForm) ProgressForm->SetProgress(ProgressForm->ProgressPosition() + 1);
    }
};

} // namespace

// ---- finding the window of a file -------------------------------------------------------------

TForm* TMainForm::FindFileWindow(const AnsiString& fileName) const {
    // Untitled documents have an empty name: an empty name finds nothing.
    if (fileName.IsEmpty()) return nullptr;
    for (int i = 0; i < MDIChildCount(); ++i) {
        TForm* window = MDIChildren(i);
        // A window that closed is hidden until it is freed: it shows no file.
        // One minimized or hidden still holds its file and its edits.
        if (window->Releasing()) continue;
        AnsiString shown;
        if (auto* s = dynamic_cast<ISchemeChild*>(window)) shown = s->SchemeDocument()->GetFileName();
        else if (auto* f = dynamic_cast<IFsmChild*>(window)) shown = f->FsmDocument()->GetFileName();
        if (SameFile(shown, fileName)) return window;
    }
    return nullptr;
}

TForm* TMainForm::ShowFileWindow(const AnsiString& fileName) {
    TForm* window = FindFileWindow(fileName);
    if (!window) return nullptr;
    BringBack(window);
    return window;
}

void TMainForm::BringBack(TForm* window) {
    // A minimized window comes back to show its file, in a frame on the screen.
    if (TForm* frame = window->MDIParent(); frame && frame->WindowState() == wsMinimized)
        frame->SetWindowState(wsNormal);
    if (window->WindowState() == wsMinimized) window->SetWindowState(wsNormal);
    window->Show();
    window->BringToFront();
}

ISchemeChild* TMainForm::FindSchemeWindow(const AnsiString& name) const {
    if (name.IsEmpty()) return nullptr;
    if (ExtractFileName(name) != name) return dynamic_cast<ISchemeChild*>(FindFileWindow(name));
    // A bare name is the project's scheme of that name, wherever another
    // window's file of that name lies; without such a scheme it is the open
    // window of that name (the open windows are the schemes there are).
    const AnsiString path = CurrentProject ? CurrentProject->GetFilePath(name) : AnsiString();
    if (!path.IsEmpty()) return dynamic_cast<ISchemeChild*>(FindFileWindow(path));
    for (int i = 0; i < MDIChildCount(); ++i) {
        auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(i));
        if (s && !MDIChildren(i)->Releasing() && s->SchemeDocument()->GetName() == name) return s;
    }
    return nullptr;
}

ISchemeChild* TMainForm::ShowSchemeWindow(const AnsiString& name) {
    if (ActivateSchemeWindow(name)) return FindSchemeWindow(name);
    const AnsiString path = CurrentProject ? CurrentProject->GetFilePath(ExtractFileName(name)) : AnsiString();
    // Without a file to open nothing is opened: never an untitled window.
    if (path.IsEmpty()) return nullptr;
    return dynamic_cast<ISchemeChild*>(CreateMDIChild(path));
}

// ---- the signal search --------------------------------------------------------------------------

void TMainForm::FindActionExecute(TObject*) {
    if (!FindSignalDlg) return;
    // The selected driver pins of the active scheme come first in the list.
    if (ISchemeChild* active = ActiveScheme()) {
        TStringList selected;
        active->SchemeDocument()->ListSelectedDriverNames(&selected);
        FindSignalDlg->ComboBox->Items()->AddStrings(&selected);
    }
    if (FindSignalDlg->ShowModal() != mrOk) return;
    const AnsiString signal = FindSignalDlg->SignalName;
    FindSignalListView->Items()->Clear();
    FindSignalName->SetCaption("Сигнал  "_a + signal + "  найден в:"_a);
    // Without a project the open windows are the schemes there are.
    if (FindSignalDlg->RadioGroup->ItemIndex() == 0 && CurrentProject) FindInProject(signal);
    else FindInOpenWindows(signal);
}

void TMainForm::AddSignalRows(const AnsiString& scheme, TScheme* doc, const AnsiString& signal) {
    TStringList users;
    doc->ListSignalUsers(&users, signal);
    TListItems* rows = FindSignalListView->Items();
    // One row names the scheme even when no device uses the signal there;
    // every use has its row with its own direction.
    const int count = std::max(1, users.Count());
    for (int i = 0; i < count; ++i) {
        TListItem* row = rows->Add();
        row->SetCaption(scheme);
        if (i < users.Count()) {
            // "device=In" or "device=Out": the direction follows the last '='.
            const AnsiString use = users.Get(i);
            const int eq = use.LastDelimiter("=");
            row->SubItems()->Add(use.SubString(1, eq - 1));
            row->SubItems()->Add(use.SubString(eq + 1, use.Length() - eq));
        }
    }
}

void TMainForm::FindInOpenWindows(const AnsiString& signal) {
    for (int i = 0; i < MDIChildCount(); ++i) {
        auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(i));
        if (!s || !s->SchemeDocument()->HasDriverNamed(signal)) continue;
        AddSignalRows(s->SchemeDocument()->GetName(), s->SchemeDocument(), signal);
    }
}

void TMainForm::FindInProject(const AnsiString& signal) {
    // Only the progress window takes input while the search works: its
    // "Остановить" ends the search after the scheme being read.
    TFrameDisabledScope disabled;
    TSearchProgress progress(CurrentProject->GetFileCount());
    for (int i = 0; i < CurrentProject->GetFileCount(); ++i) {
        const AnsiString entry = CurrentProject->GetFile(i);
        if (entry.IsEmpty() || progress.Stopped()) break;
        progress.Scheme(entry);
        {
            // One scheme in memory at a time.
            TSchemeReader reader(this);
            TScheme* doc = reader.Read(entry);
            if (doc->HasDriverNamed(signal)) AddSignalRows(ExtractFileName(entry), doc, signal);
        }
        progress.Step();
        Application->ProcessMessages();
    }
}

void TMainForm::FindSignalListViewDblClick(TObject*) {
    TListItem* row = FindSignalListView->Selected();
    if (!row) return;
    // The rows may be older than the windows: a scheme is found again by name.
    ISchemeChild* window = ShowSchemeWindow(row->Caption());
    if (!window) return;
    const AnsiString device = row->SubItems()->Count() > 0 ? row->SubItems()->Get(0) : AnsiString();
    if (device.IsEmpty()) return;
    window->SchemeDocument()->SelectDeviceByName(device);
    window->CenterSelectedActionExecute(this);
}

// ---- chains across schemes ------------------------------------------------------------------

void TMainForm::CheckConnectivityActionExecute(TObject*) {
    if (!CheckConnectivityDialog) return;
    CheckConnectivityDialog->ResetGrids(0);
    TStringList chains;
    for (int i = 0; i < MDIChildCount(); ++i) {
        auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(i));
        if (!s) continue;
        chains.Clear();
        s->SchemeDocument()->ListChainNames(&chains);
        CheckConnectivityDialog->AddSchemeChains(&chains, s->SchemeDocument()->GetName());
    }
    CheckConnectivityDialog->ShowModal();
}

std::vector<AnsiString> TMainForm::WalkedSchemes() const {
    std::vector<AnsiString> schemes;
    if (CurrentProject) {
        for (int i = 0; i < CurrentProject->GetFileCount(); ++i) schemes.push_back(CurrentProject->GetFile(i));
        return schemes;
    }
    for (int i = 0; i < MDIChildCount(); ++i)
        if (auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(i)))
            if (!s->SchemeDocument()->GetFileName().IsEmpty()) schemes.push_back(s->SchemeDocument()->GetFileName());
    return schemes;
}

void TMainForm::HighlightChainInOpenSchemes(const AnsiString& chain, const AnsiString& scheme, bool normal) {
    for (int i = 0; i < MDIChildCount(); ++i)
        if (auto* s = dynamic_cast<ISchemeChild*>(MDIChildren(i)))
            if (s->SchemeDocument()->GetName() == scheme) s->SchemeDocument()->HighlightChain(chain, normal);
}

void TMainForm::ListChainMembersInScheme(TStrings* elements, TStrings* outputs, const AnsiString& scheme,
                                         const AnsiString& chain) {
    TSchemeReader reader(this);
    reader.Read(scheme)->ListChainMembers(elements, outputs, chain);
}

namespace {

// Visits every scheme of the walk with the connectors reached so far
// (starting from those the chain touches), again while a round reached new
// connectors: the rounds end, since each one either adds a name or is the last.
void WalkThroughConnectors(TSchemeReader& reader, const AnsiString& chain, const AnsiString& scheme,
                           const std::vector<AnsiString>& schemes,
                           const std::function<void(const AnsiString& entry, TStringList& connectors)>& visit) {
    TStringList connectors;
    reader.Read(scheme)->ChainTouchesConnections(&connectors, chain);
    int known = 0;
    do {
        known = connectors.Count();
        for (const AnsiString& entry : schemes) visit(entry, connectors);
    } while (connectors.Count() > known);
}

} // namespace

void TMainForm::FindChainInProject(const AnsiString& chain, const AnsiString& scheme) {
    TSchemeReader reader(this);
    WalkThroughConnectors(reader, chain, scheme, WalkedSchemes(), [&](const AnsiString& entry, TStringList& connectors) {
        if (!reader.Read(entry)->MarkChainsOfConnections(&connectors, false, nullptr)) return;
        if (ISchemeChild* window = ShowSchemeWindow(entry))
            window->SchemeDocument()->MarkChainsOfConnections(&connectors, true, nullptr);
    });
}

void TMainForm::SearchSignalInProject(const AnsiString& scheme, const AnsiString& chain,
                                      const TNeighboursFound& found) {
    TSchemeReader reader(this);
    TStringList chains, elements, outputs;
    WalkThroughConnectors(reader, chain, scheme, WalkedSchemes(), [&](const AnsiString& entry, TStringList& connectors) {
        const AnsiString name = ExtractFileName(entry);
        if (name == scheme) return;
        TScheme* doc = reader.Read(entry);
        chains.Clear();
        if (!doc->MarkChainsOfConnections(&connectors, false, &chains)) return;
        elements.Clear();
        outputs.Clear();
        for (int i = 0; i < chains.Count(); ++i) doc->ListChainMembers(&elements, &outputs, chains.Get(i));
        if (found) found(&elements, &outputs, name);
    });
}

void TMainForm::SelectElementInScheme(const AnsiString& scheme, const AnsiString& name, bool device) {
    ISchemeChild* window = ShowSchemeWindow(scheme);
    if (!window) return;
    if (device) window->SchemeDocument()->FindAndSelectDevice(name);
    else window->SchemeDocument()->FindAndSelectDriver(name);
    window->CenterSelectedActionExecute(this);
}
