#include "Taxa.h"

#include "StageCounts.h"

#include <QHash>

namespace fosdat::strata
{

std::optional<TaxonLevel> taxonLevelFromKey(QStringView key)
{
    if (key == u"genus")
        return TaxonLevel::Genus;
    if (key == u"family")
        return TaxonLevel::Family;
    if (key == u"order")
        return TaxonLevel::Order;
    return std::nullopt;
}

// Joins genus entries into the entries of their taxa; a friend of the
// entries, whose spans it points at the taxon's name.
class TaxonJoiner
{
public:
    TaxonJoiner(TaxonLevel level, const CountOptions &options) : m_level(level), m_options(options)
    {
    }

    void add(const GenusEntry &genus)
    {
        const TextSpan name = m_level == TaxonLevel::Family ? genus.m_family : genus.m_order;
        if (genus.view(name).isEmpty()) {
            GenusEntry alone = genus;
            alone.placement = {};
            alone.placement.reason =
                m_level == TaxonLevel::Family ? Reason::NoFamily : Reason::NoOrder;
            m_taxa.append(alone);
            m_joined.append(false);
            m_reasonTaken.append(true);
            return;
        }
        const auto key = std::make_pair(genus.group, genus.view(name).toString());
        auto at = m_index.constFind(key);
        if (at == m_index.cend()) {
            GenusEntry taxon = genus;
            taxon.m_genus = name;
            constexpr TextSpan None{-1, 0};
            taxon.m_author = taxon.m_references = taxon.m_range = None;
            taxon.m_familyUncertain = false;
            if (m_level == TaxonLevel::Order)
                taxon.m_family = None;
            taxon.placement = {};
            taxon.placement.reason = Reason::NoRange;
            at = m_index.insert(key, int(m_taxa.size()));
            m_taxa.append(taxon);
            m_joined.append(false);
            m_reasonTaken.append(false);
        }
        join(*at, genus);
    }

    QList<GenusEntry> take() { return std::move(m_taxa); }

private:
    // The genus's range into its taxon's, if it is counted.
    void join(int at, const GenusEntry &genus)
    {
        Placement &range = m_taxa[at].placement;
        Reason reason = countingReason(genus, m_options);
        if (reason == Reason::None && genus.familyUncertain() && m_level == TaxonLevel::Family &&
            !m_options.uncertain)
            reason = Reason::Uncertain;
        bool &joined = m_joined[at];
        if (reason != Reason::None) {
            if (!joined && !m_reasonTaken[at]) { // the first genus's, until one is counted
                range = genus.placement;
                range.reason = reason;
                m_reasonTaken[at] = true;
            }
            return;
        }
        const Placement &p = genus.placement;
        if (!joined) {
            range = p;
            range.code = {};
            joined = true;
            return;
        }
        if (p.first < range.first || (p.first == range.first && p.base > range.base)) {
            range.first = p.first;
            range.base = p.base;
            range.firstWritten = p.firstWritten;
            range.firstUnit = p.firstUnit;
        }
        if (p.extant || (!range.extant &&
                         (p.last > range.last || (p.last == range.last && p.top < range.top)))) {
            range.last = p.last;
            range.top = p.top;
            range.lastWritten = p.lastWritten;
            range.lastUnit = p.lastUnit;
        }
        range.extant = range.extant || p.extant;
        range.uncertain = range.uncertain || p.uncertain;
        range.periodOnly = range.periodOnly || p.periodOnly;
    }

    TaxonLevel m_level;
    const CountOptions &m_options;
    QList<GenusEntry> m_taxa;
    QList<bool> m_joined;      // by taxon: a genus of it is counted
    QList<bool> m_reasonTaken; // by taxon: it has a genus's reason not to be
    QHash<std::pair<int, QString>, int> m_index;
};

QList<GenusEntry> taxaOf(const QList<GenusEntry> &genera, TaxonLevel level,
                         const CountOptions &options)
{
    if (level == TaxonLevel::Genus)
        return genera;
    TaxonJoiner joiner(level, options);
    for (const GenusEntry &genus : genera)
        joiner.add(genus);
    return joiner.take();
}

} // namespace fosdat::strata
