#pragma once
// The "Edit Basic Character Info" panel over the current character: the boxes of its name,
// class, levels, zeny, stats, points, positions, looks and the names of its guild, party and pet,
// the digit filter, and "Ok" with the caps of tavo.ini and battle_athena.conf. "Ok" changes the
// character document (written by "Save to File"); guild, party and pet names are written to
// their files at once. See pages/pages.h for how a page is used.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tavo {

struct Workspace;
class CharProfilePage;
class MapsFrame;
class Ui;
enum class MapsTarget;

// The boxes (Text3), by their index.
enum class BasicBox {
    CharId = 0,
    Slot = 1,
    Name = 3,
    BaseLevel = 4,
    JobLevel = 5,
    Hp = 6,
    MaxHp = 7,
    Sp = 8,
    MaxSp = 9,
    Zeny = 10,
    Str = 11,
    Agi = 12,
    Vit = 13,
    Int = 14,
    Dex = 15,
    Luk = 16,
    SaveMap = 17,
    SaveX = 18,
    SaveY = 19,
    LastMap = 20,
    LastX = 21,
    LastY = 22,
    GuildName = 23,
    PartyName = 24,
    PetName = 25,
    Hair = 26,
    StatPoints = 27,
    SkillPoints = 28,
    HairColor = 29,
    ClothesColor = 30,
};
inline constexpr int kBasicBoxCount = 31;

inline constexpr const char* kNameInUse = "Name is already in use, choose another.";
inline constexpr const char* kMapNamesNote = "Please make sure that MAP NAMES(.gat) are correct.";
// The server keeps character, guild, party and pet names in 24-byte fields with their end mark.
inline constexpr std::size_t kNameMost = 23;

// An entry of the class list (Combo7): "[7] Knight" and the class id it stands for.
struct ClassChoice {
    std::string id;
    std::string text;
};

class BasicInfoPage {
public:
    BasicInfoPage(Workspace& ws, Ui& ui, CharProfilePage& character, MapsFrame& maps);

    // After the job classes are read: the class list filled.
    void prepare();
    // "Edit Basic": the boxes filled from the loaded character. False when none is loaded.
    bool open();
    bool is_open() const;

    const std::string& box(BasicBox box) const { return boxes_[static_cast<std::size_t>(box)]; }
    // Boxes that take typing (the id, slot, HP and SP boxes only show).
    static bool typed(BasicBox box);
    // Boxes that take the digits 0-9 only.
    static bool digits_only(BasicBox box);
    // Typed or pasted text; false (and the box unchanged) when a digits box is given anything
    // but digits or a box does not take typing.
    bool type(BasicBox box, std::string text);

    const std::vector<ClassChoice>& class_entries() const { return classes_; }
    int class_chosen() const { return class_; }
    void choose_class(int index);
    // The class list's line of a class id, or -1.
    int class_line_of(std::string_view id) const;

    // "Ok": checks, caps and writes the boxes into the character, renames the guild, party and
    // pet in their files, and closes the panel. False when a check refused (said in a message;
    // the panel stays open and nothing changed).
    bool ok();
    // "Cancel": closed, the character as it was.
    void cancel();
    // "List Maps" / "Hide List": the maps frame for the save and last positions.
    std::string maps_caption() const;
    void toggle_maps();
    // "Do it" for the positions: map, x and y of the picked map (map,x,y) into the save or last
    // position boxes.
    bool put_position(MapsTarget target, const std::string& point);

private:
    std::string& box_text(BasicBox box) { return boxes_[static_cast<std::size_t>(box)]; }
    std::optional<std::string> refusal() const;
    bool rename_ties();
    void write_record();
    void close();

    Workspace& ws_;
    Ui& ui_;
    CharProfilePage& character_;
    MapsFrame& maps_;
    bool open_ = false;
    std::string opened_for_;
    std::array<std::string, kBasicBoxCount> boxes_;
    std::vector<ClassChoice> classes_;
    int class_ = -1;
    // The guild, party and pet names as the boxes showed them when opened.
    std::string guild_read_, party_read_, pet_read_;
};

}  // namespace tavo
