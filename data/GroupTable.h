#pragma once

#include <QStringView>
#include <array>

namespace fosdat::data
{

// An animal group of the catalogue: its caption in the group list and its
// catalogue file, a data path.
struct Group {
    QStringView caption;
    QStringView catalogPath;
};

// The groups in the order the group list shows them and the OK action
// compares them; the one source of both.
inline constexpr std::array<Group, 34> GroupTable{{
    {u"ФОРАМИНИФЕРЫ", u"dat\\BD\\FORAM"},
    {u"ФОРАМИНИФЕРЫ2", u"dat\\BD\\FORAM2"},
    {u"РАДИОЛЯРИИ", u"dat\\BD\\RAD"},
    {u"ГУБКИ", u"dat\\BD\\SPONGE"},
    {u"АРХЕОЦИАТЫ", u"dat\\BD\\ARCHAEO"},
    {u"КИШЕЧНОПОЛОСТНЫЕ", u"dat\\BD\\COELEN"},
    {u"КИШЕЧНОПОЛОСТНЫЕ2", u"dat\\BD\\COELEN2"},
    {u"ЧЕРВИ", u"dat\\BD\\WORMS"},
    {u"ТРИЛОБИТЫ", u"dat\\BD\\TRILOBIT"},
    {u"ТРИЛОБИТЫ2", u"dat\\BD\\TRILOBIT2"},
    {u"ТРИЛОБИТЫ3", u"dat\\BD\\TRILOBIT3"},
    {u"РАКООБРАЗНЫЕ", u"dat\\BD\\CRUSTACE"},
    {u"ОСТРАКОДЫ", u"dat\\BD\\OSTRA"},
    {u"ОСТРАКОДЫ2", u"dat\\BD\\OSTRA2"},
    {u"МЕРОСТОМОВЫЕ", u"dat\\BD\\MERO"},
    {u"МОЛЛЮСКИ", u"dat\\BD\\MOLLUSC"},
    {u"БИВАЛЬВИИ", u"dat\\BD\\BIVALV"},
    {u"ГАСТРОПОДЫ1", u"dat\\BD\\GASTRO1"},
    {u"ГАСТРОПОДЫ2", u"dat\\BD\\GASTRO2"},
    {u"ЦЕФАЛОПОДЫ1", u"dat\\BD\\CEPH1"},
    {u"ЦЕФАЛОПОДЫ2", u"dat\\BD\\CEPH2"},
    {u"МШАНКИ", u"dat\\BD\\BRYOZ"},
    {u"БЕЗЗАМКОВЫЕ БРАХИОПОДЫ", u"dat\\BD\\INARTIC"},
    {u"БРАХИОПОДЫ1", u"dat\\BD\\BRACH1"},
    {u"БРАХИОПОДЫ2", u"dat\\BD\\BRACH2"},
    {u"ИГЛОКОЖИЕ1", u"dat\\BD\\ECHINODE"},
    {u"ИГЛОКОЖИЕ2", u"dat\\BD\\ECHINOID"},
    {u"КРИНОИДЕИ", u"dat\\BD\\CRINOID"},
    {u"МОРСКИЕ ЕЖИ", u"dat\\BD\\STELLER"},
    {u"ГРАПТОЛИТЫ", u"dat\\BD\\GRAPT"},
    {u"КОНОДОНТЫ", u"dat\\BD\\CONODONT"},
    {u"ПОЗВОНОЧНЫЕ", u"dat\\BD\\VERT"},
    {u"ПОЗВОНОЧНЫЕ2", u"dat\\BD\\VERT2"},
    {u"ПОЗВОНОЧНЫЕ3", u"dat\\BD\\VERT3"},
}};

} // namespace fosdat::data
