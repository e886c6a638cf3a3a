#include "GroupProfiles.h"

#include "GroupTable.h"

#include <array>

namespace fosdat::sampledata
{

using data::GroupTable;

namespace
{

using Endings = std::span<const QStringView>;

constexpr auto Foram = std::to_array<QStringView>(
    {u"ina", u"ella", u"ammina", u"inella", u"ulina", u"discus", u"spira"});
constexpr auto Radiolaria =
    std::to_array<QStringView>({u"sphaera", u"cyrtium", u"spyris", u"capsa", u"discus", u"lithis"});
constexpr auto Sponge =
    std::to_array<QStringView>({u"spongia", u"ella", u"thelia", u"stoma", u"coelia", u"scyphia"});
constexpr auto Archaeocyath =
    std::to_array<QStringView>({u"cyathus", u"cyathellus", u"coscinus", u"cyathina"});
constexpr auto Coral =
    std::to_array<QStringView>({u"phyllum", u"astraea", u"lasma", u"smilia", u"phyllia", u"pora"});
constexpr auto Worm =
    std::to_array<QStringView>({u"scolex", u"nereites", u"serpula", u"tubulus", u"chaetes"});
constexpr auto Trilobite = std::to_array<QStringView>(
    {u"aspis", u"ops", u"cephalus", u"pyge", u"ellus", u"ina", u"lichas", u"ites"});
constexpr auto Crustacean =
    std::to_array<QStringView>({u"caris", u"carcinus", u"cheirus", u"gammarus", u"ella"});
constexpr auto Ostracod =
    std::to_array<QStringView>({u"cythere", u"cypris", u"cytherella", u"bairdia", u"ella"});
constexpr auto Merostome =
    std::to_array<QStringView>({u"pterus", u"limulus", u"aspis", u"onychus"});
constexpr auto Mollusc =
    std::to_array<QStringView>({u"conus", u"concha", u"pilina", u"spira", u"cyrtus"});
constexpr auto Bivalve = std::to_array<QStringView>(
    {u"concha", u"mya", u"pecten", u"cardia", u"desma", u"odon", u"ella"});
constexpr auto Gastropod = std::to_array<QStringView>(
    {u"spira", u"trochus", u"conus", u"stoma", u"cyclus", u"ella", u"ina"});
constexpr auto Cephalopod = std::to_array<QStringView>(
    {u"ceras", u"ites", u"ceratites", u"gonites", u"stephanus", u"teuthis", u"belus"});
constexpr auto Bryozoan =
    std::to_array<QStringView>({u"pora", u"porella", u"trypa", u"dictya", u"ella", u"phragma"});
constexpr auto Inarticulate =
    std::to_array<QStringView>({u"obolus", u"lingula", u"trema", u"discina", u"ella"});
constexpr auto Brachiopod = std::to_array<QStringView>(
    {u"thyris", u"rhynchia", u"spirifer", u"strophia", u"orthis", u"productus", u"ella", u"ina"});
constexpr auto Echinoderm = std::to_array<QStringView>({u"cystis", u"blastus", u"aster", u"ella"});
constexpr auto Starfish = std::to_array<QStringView>({u"aster", u"ophis", u"asterias", u"thuria"});
constexpr auto Crinoid = std::to_array<QStringView>({u"crinus", u"crinites", u"ella"});
constexpr auto Urchin =
    std::to_array<QStringView>({u"cidaris", u"echinus", u"pneustes", u"clypeus", u"ella"});
constexpr auto Graptolite =
    std::to_array<QStringView>({u"graptus", u"grapta", u"dendrum", u"ella"});
constexpr auto Conodont = std::to_array<QStringView>({u"gnathus", u"odus", u"odina", u"ella"});
constexpr auto Fish =
    std::to_array<QStringView>({u"ichthys", u"odus", u"lepis", u"aspis", u"ella"});
constexpr auto Reptile =
    std::to_array<QStringView>({u"saurus", u"suchus", u"odon", u"chelys", u"ops"});
constexpr auto Mammal =
    std::to_array<QStringView>({u"therium", u"cetus", u"odon", u"ornis", u"delphis"});

// In the order of the group table; the counts add up to 36,000.
constexpr auto Profiles = std::to_array<GroupProfile>({
    {2200, Endings(Foram), u"C", u"Q", u"Foraminifera", u"Фораминиферы"},              // FORAM
    {1500, Endings(Foram), u"J", u"Q", u"Foraminifera", u"Фораминиферы"},              // FORAM2
    {600, Endings(Radiolaria), u"Cm", u"Q", u"Polycystina", u"Радиолярии"},            // RAD
    {1000, Endings(Sponge), u"Cm", u"Q", u"Demospongea", u"Обыкновенные губки"},       // SPONGE
    {300, Endings(Archaeocyath), u"Cm", u"Cm", u"Archaeocyatha", u"Археоциаты"},       // ARCHAEO
    {1400, Endings(Coral), u"V", u"P", u"Anthozoa", u"Коралловые полипы"},             // COELEN
    {1100, Endings(Coral), u"Tr", u"Q", u"Anthozoa", u"Коралловые полипы"},            // COELEN2
    {300, Endings(Worm), u"V", u"Q", u"Polychaeta", u"Многощетинковые черви"},         // WORMS
    {1600, Endings(Trilobite), u"Cm", u"Cm", u"Trilobita", u"Трилобиты"},              // TRILOBIT
    {1400, Endings(Trilobite), u"Cm", u"O", u"Trilobita", u"Трилобиты"},               // TRILOBIT2
    {1100, Endings(Trilobite), u"O", u"P", u"Trilobita", u"Трилобиты"},                // TRILOBIT3
    {600, Endings(Crustacean), u"D", u"Q", u"Malacostraca", u"Высшие раки"},           // CRUSTACE
    {1400, Endings(Ostracod), u"O", u"P", u"Ostracoda", u"Ракушковые раки"},           // OSTRA
    {900, Endings(Ostracod), u"Tr", u"Q", u"Ostracoda", u"Ракушковые раки"},           // OSTRA2
    {250, Endings(Merostome), u"O", u"P", u"Merostomata", u"Мечехвосты"},              // MERO
    {450, Endings(Mollusc), u"Cm", u"D", u"Monoplacophora", u"Моноплакофоры"},         // MOLLUSC
    {1700, Endings(Bivalve), u"O", u"Q", u"Bivalvia", u"Двустворчатые моллюски"},      // BIVALV
    {1500, Endings(Gastropod), u"Cm", u"P", u"Gastropoda", u"Брюхоногие моллюски"},    // GASTRO1
    {1200, Endings(Gastropod), u"Tr", u"Q", u"Gastropoda", u"Брюхоногие моллюски"},    // GASTRO2
    {2800, Endings(Cephalopod), u"D", u"K", u"Cephalopoda", u"Головоногие моллюски"},  // CEPH1
    {1600, Endings(Cephalopod), u"Cm", u"Q", u"Cephalopoda", u"Головоногие моллюски"}, // CEPH2
    {1000, Endings(Bryozoan), u"O", u"Q", u"Gymnolaemata", u"Голоротые мшанки"},       // BRYOZ
    {250, Endings(Inarticulate), u"Cm", u"Q", u"Lingulata", u"Лингулаты"},             // INARTIC
    {1900, Endings(Brachiopod), u"Cm", u"D", u"Rhynchonellata", u"Ринхонеллаты"},      // BRACH1
    {1700, Endings(Brachiopod), u"C", u"Q", u"Rhynchonellata", u"Ринхонеллаты"},       // BRACH2
    {800, Endings(Echinoderm), u"Cm", u"P", u"Eocrinoidea", u"Эокриноидеи"},           // ECHINODE
    {600, Endings(Starfish), u"O", u"Q", u"Asteroidea", u"Морские звёзды"},            // ECHINOID
    {900, Endings(Crinoid), u"O", u"Q", u"Crinoidea", u"Морские лилии"},               // CRINOID
    {700, Endings(Urchin), u"O", u"Q", u"Echinoidea", u"Морские ежи"},                 // STELLER
    {400, Endings(Graptolite), u"Cm", u"C", u"Graptolithina", u"Граптолиты"},          // GRAPT
    {550, Endings(Conodont), u"Cm", u"Tr", u"Conodonta", u"Конодонты"},                // CONODONT
    {1100, Endings(Fish), u"O", u"Q", u"Actinopterygii", u"Лучепёрые рыбы"},           // VERT
    {700, Endings(Reptile), u"Tr", u"Q", u"Reptilia", u"Пресмыкающиеся"},              // VERT2
    {500, Endings(Mammal), u"Pg", u"Q", u"Mammalia", u"Млекопитающие"},                // VERT3
});
static_assert(Profiles.size() == GroupTable.size());

} // namespace

const GroupProfile &groupProfile(std::size_t row)
{
    return Profiles.at(row);
}

} // namespace fosdat::sampledata
