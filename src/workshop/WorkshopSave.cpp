// The workshop's last step: the dial, its table and its marks saved, and handed to Kestran.
#include <filesystem>

#include "angles/TextFile.h"
#include "base/DraftFile.h"
#include "base/Utf8Path.h"
#include "dial/PngWrite.h"
#include "res/WorkshopControls.h"
#include "workshop/MarksFile.h"
#include "workshop/Workshop.h"

namespace {

// The name a file is offered under: the one saved before, else the picture's own beside it.
std::string Offered(const std::optional<std::string>& before, const std::string& picture,
                    const char* suffix) {
    if (before)
        return *before;
    std::filesystem::path path = utf8path::ToPath(picture);
    path.replace_filename(utf8path::FromPath(path.stem()) + suffix);
    return utf8path::FromPath(path);
}

std::string FileName(const std::string& path) {
    return utf8path::FromPath(utf8path::ToPath(path).filename());
}

}  // namespace

bool CWorkshop::Save() {
    if (!HasPicture())
        return false;
    if (!m_table.table || m_table.table->firstFailing != 0) {
        m_host.MessageBox(SMessage("The table cannot be saved yet.", m_table.refusal));
        return false;
    }
    SFileDialogRequest dialRequest;
    dialRequest.open = false;
    dialRequest.defaultExt = "png";
    dialRequest.fileName = Offered(m_savedDial, m_picturePath, "-dial.png");
    dialRequest.flags = kOfnHideReadOnly | kOfnOverwritePrompt;
    dialRequest.filter = "PNG Files (*.png)|*.png|All File (*.*)|*.*||";
    const std::optional<std::string> dial = m_host.FileDialog(dialRequest);
    if (!dial)
        return false;
    SFileDialogRequest tableRequest;
    tableRequest.open = false;
    tableRequest.defaultExt = "gac";
    tableRequest.fileName =
        m_savedTable && m_savedDial == dial ? *m_savedTable : workshop::TablePathBeside(*dial);
    tableRequest.flags = kOfnHideReadOnly | kOfnOverwritePrompt;
    tableRequest.filter = "Gauge Conf Files (*.gac)|*.gac|All File (*.*)|*.*||";
    const std::optional<std::string> table = m_host.FileDialog(tableRequest);
    if (!table)
        return false;

    std::string why;
    const bool dialWritten = draftfile::Replace(
        utf8path::ToPath(*dial),
        [this](const std::filesystem::path& draft) {
            return WritePng(utf8path::FromPath(draft).c_str(), m_prepared.dial.View());
        },
        &why);
    if (!dialWritten) {
        m_host.MessageBox(SMessage("The dial cannot be written: " + *dial, why));
        return false;
    }
    if (textfile::ReplaceFile(*table, m_table.table->line) != textfile::EWriteResult::Ok) {
        m_host.MessageBox(SMessage("The table cannot be written: " + *table,
                                   "The dial was saved, the table not."));
        return false;
    }
    const std::string marks = workshop::MarksPathBeside(*dial);
    if (textfile::ReplaceFile(marks, workshop::MarksText(m_calibration)) !=
        textfile::EWriteResult::Ok) {
        m_host.MessageBox(
            SMessage("The marks cannot be written: " + marks,
                     "The dial and the table were saved; the dial opens again without its marks."));
        return false;
    }
    m_savedDial = dial;
    m_savedTable = table;
    m_dirty = false;
    m_notice = "Saved " + FileName(*dial) + ", " + FileName(*table) + " and the marks in " +
               FileName(marks) + ".";
    ShowTexts();
    return true;
}

void CWorkshop::UseInKestran() {
    if (!m_handOver || !HasPicture())
        return;
    if ((m_dirty || !m_savedDial || !m_savedTable) && !Save())
        return;
    if (!m_handOver(*m_savedDial, *m_savedTable)) {
        m_host.MessageBox(
            SMessage("Kestran is busy with an update.",
                     "The dial and the table are saved: use them once the update has ended."));
        return;
    }
    m_notice =
        "Kestran holds the dial as its TAS dial and the table in its entries: Update sends both.";
    ShowTexts();
}
