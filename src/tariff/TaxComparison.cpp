#include "Taxations.h"

#include "common/StringHelpers.h"

#include "common/Formats.h"

#include <algorithm>
#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

QString TTaxations::CompareTaxs(const ComparedConnection& connection,
                                const CompareProgress& progress, const CompareStop& stop) const
{
    QString report;
    qint64 best = 0;
    // Count() is read at every step: the events processed while pricing may change the list.
    for (int i = 0; i < m_taxs.Count(); ++i) {
        if (stop && stop())
            break;
        const TTaxItem& tax = *m_taxs[i];
        if (tax.Tipo() != ttTat || !tax.Compare())
            continue;
        if (progress)
            progress(u"Calcolo del costo di "_s + tax.Nome(), int(qint64(i) * 100 / m_taxs.Count()));
        const double cost = tax.IntervalCost(connection.Start, connection.End, true).Lire;
        const double difference = std::trunc(connection.Lire - cost);
        if (!(difference >= 1))
            continue; // also a cost that is not a number
        const qint64 saving = qint64(std::min(difference, 1e15));
        const QString line = u"risparmiavi "_s + FormatLire(double(saving)) + u" £irette con "_s
                             + tax.DisplayName() + u'\r';
        // The largest saving goes on top; smaller ones found later are appended.
        if (saving > best) {
            best = saving;
            report = TrimBlanks(line + report) + u'\r';
        } else {
            report += line;
        }
    }
    return report;
}

} // namespace vestrel
