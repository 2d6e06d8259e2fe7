#include "JobChecklistView.h"

#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The mark in front of a line for each state.
QString markOf(eStepState state) {
    switch (state) {
    case eStepState::Waiting:
        return QStringLiteral("○");
    case eStepState::Running:
        return QStringLiteral("▶");
    case eStepState::Done:
        return QStringLiteral("✔");
    case eStepState::Failed:
        return QStringLiteral("✖");
    case eStepState::Skipped:
        return QStringLiteral("–");
    }
    return QString();
}

QString colourOf(eStepState state) {
    switch (state) {
    case eStepState::Done:
        return QStringLiteral("#1b7a2e");
    case eStepState::Failed:
        return QStringLiteral("#b3261e");
    case eStepState::Running:
        return QStringLiteral("#1a5fb4");
    case eStepState::Waiting:
    case eStepState::Skipped:
        break;
    }
    return QStringLiteral("#666666");
}

} // namespace

JobChecklistView::JobChecklistView(QWidget* parent) : QGroupBox(tr("This job"), parent) {
    setObjectName(QStringLiteral("jobChecklist"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (int step = 0; step < eJobStep_Count; ++step) {
        auto* line = new QLabel(this);
        line->setObjectName(QStringLiteral("checklistLine%1").arg(step));
        line->setTextFormat(Qt::RichText);
        line->setWordWrap(true);
        layout->addWidget(line);
        fLines[size_t(step)] = line;
    }
    showSnapshot(ChecklistSnapshot());
}

void JobChecklistView::showSnapshot(const ChecklistSnapshot& snapshot) {
    for (int step = 0; step < eJobStep_Count; ++step) {
        const ChecklistLine& line = snapshot.line(eJobStep(step));
        QString text = lineText(snapshot, eJobStep(step)).toHtmlEscaped();
        fLines[size_t(step)]->setText(
            QStringLiteral("<span style=\"color:%1\"><b>%2</b>&nbsp;&nbsp;%3</span>")
                .arg(colourOf(line.state), markOf(line.state), text));
        fLines[size_t(step)]->setAccessibleName(text);
    }
}

namespace {

// "about 2 min left" / "about 40 s left"; empty before the pace is known.
QString timeLeft(const ChecklistLine& line) {
    if (!line.secondsLeft)
        return QString();
    const long seconds = std::lround(std::ceil(*line.secondsLeft));
    if (seconds >= 90)
        return JobChecklistView::tr("about %n min left", nullptr, int((seconds + 30) / 60));
    return JobChecklistView::tr("about %n s left", nullptr, int(std::max(1L, seconds)));
}

// What the user can do about a failed step.
QString adviceFor(eStepProblem problem) {
    switch (problem) {
    case eStepProblem::None:
        break;
    case eStepProblem::FolderRefused:
        return JobChecklistView::tr("Vesk-X gave a folder that cannot be used: choose the job's folder in "
                                    "Vesk-X and start again.");
    case eStepProblem::PhotoListNotWritten:
        return JobChecklistView::tr("The photo list could not be written: check that the job folder is on a "
                                    "disk with room and that you may write in it.");
    case eStepProblem::Cancelled:
        return JobChecklistView::tr("Cancelled: nothing was changed on the scanner. Start the job again from "
                                    "Vesk-X when you are ready.");
    case eStepProblem::NoSerialPort:
        return JobChecklistView::tr("No serial port: plug the scanner's cable in, then press Rescan Ports "
                                    "and Connect to Scanner.");
    case eStepProblem::NoScannerAnswer:
        return JobChecklistView::tr("No scanner answered: check that it is switched on, in its cradle and "
                                    "plugged in, then press Connect to Scanner.");
    case eStepProblem::NotConnected:
        return JobChecklistView::tr("No scanner is connected: press Connect to Scanner first.");
    case eStepProblem::DownloadFailed:
        return JobChecklistView::tr("The download broke off: the scans are still on the scanner. Check the "
                                    "cable and press Download Scans.");
    case eStepProblem::MatchFailed:
        return JobChecklistView::tr("Nothing could be matched: see the messages below. The scanner was not "
                                    "erased.");
    case eStepProblem::ReturnedToHost:
        return JobChecklistView::tr("Back to Vesk-X without a match: the scanner was not erased.");
    case eStepProblem::NotErased:
        return JobChecklistView::tr("The scanner could not be erased: its scans are still on it. Erase it "
                                    "at the next job, or press Erase Scanner.");
    }
    return QString();
}

} // namespace

QString JobChecklistView::lineText(const ChecklistSnapshot& snapshot, eJobStep step) {
    const ChecklistLine& line = snapshot.line(step);
    if (line.state == eStepState::Failed)
        return adviceFor(line.problem);
    const bool counting = line.state == eStepState::Running && line.total > 0;
    switch (step) {
    case eJobStep_Photos:
        if (line.state == eStepState::Done) {
            QString listed = tr("%n photo(s) listed", nullptr, int(snapshot.photosListed));
            if (snapshot.undatedPhotos == 0)
                return listed;
            return tr("%1 (%n without a date)", nullptr, int(snapshot.undatedPhotos)).arg(listed);
        }
        if (counting)
            return tr("Listing photos: file %1 of %2").arg(line.done).arg(line.total);
        return line.state == eStepState::Running ? tr("Listing photos...") : tr("List the photos");
    case eJobStep_Scanner:
        if (line.state == eStepState::Done)
            return tr("Scanner %1 found: %n scan(s)", nullptr, int(snapshot.scansOnScanner))
                .arg(QString::fromStdString(snapshot.scannerSerialNumber));
        if (line.state == eStepState::Skipped)
            return tr("Scanner not needed: the scans are already in the folder");
        return line.state == eStepState::Running ? tr("Looking for the scanner...") : tr("Find the scanner");
    case eJobStep_Download:
        if (line.state == eStepState::Done)
            return tr("%n scan(s) downloaded", nullptr, int(snapshot.scansDownloaded));
        if (line.state == eStepState::Skipped)
            return tr("No download needed");
        if (counting) {
            QString text = tr("Downloading: scan %1 of %2").arg(line.done).arg(line.total);
            QString left = timeLeft(line);
            return left.isEmpty() ? text : tr("%1, %2").arg(text, left);
        }
        return line.state == eStepState::Running ? tr("Downloading the scans...") : tr("Download the scans");
    case eJobStep_Match:
        if (line.state == eStepState::Done)
            return tr("Matched %1 to %2: %3, %4")
                .arg(tr("%n photo(s)", nullptr, int(snapshot.match.photos)),
                     tr("%n scan(s)", nullptr, int(snapshot.match.scans)),
                     tr("%n doubtful photo(s)", nullptr, int(snapshot.match.doubtfulPhotos)),
                     tr("%n barcode(s) without photos", nullptr, int(snapshot.match.scansWithoutPhotos)));
        return line.state == eStepState::Running ? tr("Matching photos to scans; review the match...")
                                                 : tr("Match the photos to the scans");
    case eJobStep_HostConfirm:
        if (line.state == eStepState::Done)
            return tr("Vesk-X confirmed the job");
        return line.state == eStepState::Running ? tr("Waiting for Vesk-X to confirm")
                                                 : tr("Vesk-X confirms the job");
    case eJobStep_Erase:
        if (line.state == eStepState::Done)
            return tr("Scanner erased");
        if (line.state == eStepState::Skipped)
            return tr("Testing mode: the scanner was left as it was");
        return line.state == eStepState::Running ? tr("Erasing the scanner...") : tr("Erase the scanner");
    case eJobStep_Count:
        break;
    }
    return QString();
}

QString JobChecklistView::outcomeText(const ChecklistSnapshot& snapshot) {
    const QString matched = tr("%1 matched to %2")
                                .arg(tr("%n photo(s)", nullptr, int(snapshot.match.photos)),
                                     tr("%n scan(s)", nullptr, int(snapshot.match.scans)));
    switch (jobOutcome(snapshot)) {
    case eJobOutcome::Erased:
        return tr("%1; scanner erased").arg(matched);
    case eJobOutcome::ErasedInTesting:
        return tr("%1; testing mode, the scanner was not erased").arg(matched);
    case eJobOutcome::NotErased:
        return tr("%1; the scanner could NOT be erased, its scans are still on it").arg(matched);
    case eJobOutcome::NotConfirmed:
        return tr("%1; Vesk-X did not confirm, the scanner was not erased").arg(matched);
    case eJobOutcome::Cancelled:
        return tr("Job cancelled; the scanner was not erased");
    case eJobOutcome::MatchFailed:
        return tr("Nothing could be matched; the scanner was not erased");
    case eJobOutcome::FolderRefused:
        return tr("The folder from Vesk-X could not be used; the scanner was not erased");
    case eJobOutcome::Unfinished:
        break;
    }
    return tr("The job was not finished; the scanner was not erased");
}
