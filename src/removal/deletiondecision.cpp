#include "removal/deletiondecision.h"

#include <QDir>
#include <QFileInfo>

namespace {

DeletionDecision::Verdict verdictFor(ProtectedPlaces::Reason reason)
{
    switch (reason) {
    case ProtectedPlaces::FileSystemRoot:
        return DeletionDecision::FileSystemRoot;
    case ProtectedPlaces::SystemFolder:
        return DeletionDecision::SystemFolder;
    case ProtectedPlaces::PersonalFolder:
        return DeletionDecision::PersonalFolder;
    case ProtectedPlaces::OtherUsersHome:
        return DeletionDecision::OtherUsersHome;
    case ProtectedPlaces::None:
        break;
    }
    return DeletionDecision::Accepted;
}

} // namespace

DeletionDecision DeletionDecision::decide(
    const QString& folder, const ProtectedPlaces& places, const InstallationMarks& marks)
{
    DeletionDecision decision;
    decision.folder = folder;
    if (folder.trimmed().isEmpty()) {
        decision.verdict = Missing;
        decision.detail = QStringLiteral("no folder given");
        return decision;
    }
    // As written, then as the links resolve: either spelling of a protected place counts.
    const auto refusedAsPlace = [&](const QString& form) {
        const ProtectedPlaces::Verdict verdict = places.judge(form);
        if (verdict.reason == ProtectedPlaces::None)
            return false;
        decision.verdict = verdictFor(verdict.reason);
        decision.detail
            = QStringLiteral("it is, holds or lies in the protected place ") + verdict.place;
        return true;
    };
    if (refusedAsPlace(folder))
        return decision;
    const QFileInfo resolved(QFileInfo(QDir::fromNativeSeparators(folder)).canonicalFilePath());
    if (resolved.filePath().isEmpty() || !resolved.isDir()) {
        decision.verdict = Missing;
        decision.detail = QStringLiteral("the folder does not exist");
        return decision;
    }
    decision.folder = resolved.filePath();
    if (refusedAsPlace(decision.folder))
        return decision;
    const QString missing = marks.missingIn(decision.folder);
    if (!missing.isEmpty()) {
        decision.verdict = NotThisProduct;
        decision.detail = missing;
    }
    return decision;
}

DeletionDecision DeletionDecision::decide(const QString& folder, const InstallationMarks& marks)
{
    return decide(folder, ProtectedPlaces::current(), marks);
}
