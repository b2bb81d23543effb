// Position strings and the tree of grids they name.
//
// A position is one or more fields joined by ".".  A field is two characters
// (row label, column label: one cell) or five (first corner, a separator,
// opposite corner: every cell between them).  Field k+1 places the component
// inside the rectangle of field k, in a grid that belongs to that rectangle.
// No grid is declared: each one spans the labels that the positions use in it.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// One grid of the tree.
struct SchematicCell {
    std::string name; // the field naming this grid inside its parent; empty for the root
    char min_v_label = 0;
    char min_h_label = 0;
    char max_v_label = 0;
    char max_h_label = 0;
    int nr_v_cells = 0;
    int nr_h_cells = 0; // 0 also marks a grid that has not seen a field yet
    int nr_of_subspaces = 0;
    std::vector<SchematicCell> ptr; // nested grids in order of first appearance
    // Index of ptr by name, built once the grid has many nested grids, so
    // that wide grids are searched in constant time.
    std::unordered_map<std::string, int> subspaceIndex;

    SchematicCell() = default;
    explicit SchematicCell(const char *gridName) : name(gridName) {}
    // Frees the nested grids without a call per level of nesting, so that a
    // position string of any depth cannot exhaust the stack.
    ~SchematicCell();
    SchematicCell(SchematicCell &&) = default;
    SchematicCell &operator=(SchematicCell &&) = default;
    // A copy would be as deep as the tree; grids are moved, never copied.
    SchematicCell(const SchematicCell &) = delete;
    SchematicCell &operator=(const SchematicCell &) = delete;
    // The nested grid named field, or null.
    SchematicCell *findSubspace(const char *field);
    // Appends a new, unset nested grid named field and returns it.
    SchematicCell *addSubspace(const char *field);
};

// The non-empty fields of one position string.
struct BreakOutDesc {
    int nr = 0;
    std::vector<std::string> ptr;
};

// The longest well-formed field.
constexpr int maxFieldLength = 5;

// Splits s at its dots.  An empty s and each empty field are reported on
// standard error; empty fields are skipped.
BreakOutDesc breakOut(const char *s);

// Decodes one field into its row labels r[0..1] and column labels c[0..1].
// A field that is neither two nor five characters long names the cell of its
// first two characters (a lone character serves as row and column), and
// reversed corners are put in order.  Returns false when the field had to be
// normalised that way.
bool breakCell(const char *s, char *r, char *c);

// Copies the first field of s into f, which holds maxFieldLength characters
// and the terminator.  A field too long for f is cut to its first two
// characters, the cell breakCell would name.  Returns the length of the
// whole field in s.
int firstCell(const char *s, char *f);

// Widens grid ptr's label ranges to take in field s.
void updateLevelHeading(SchematicCell *ptr, const char *s);

// Finds or creates the nested grid named sa in ptr, widens it by field sb and
// returns it in *next.
void getSubCell(SchematicCell *ptr, const char *sa, const char *sb, SchematicCell **next);

// True when every field of s is two or five characters long with its corners
// in order, and no field is empty.
bool wellFormedPosition(const char *s);

// Registers one position string in the grid tree rooted at schematic.
void enterSchematicCell(SchematicCell *schematic, const char *s);
// Registers the fields of one position string.
void enterFields(SchematicCell *schematic, const BreakOutDesc &fields);

// Narrows the rectangle (*x, *y, *w, *h) to the one position s names in grid p.
void schematicSubSpace(SchematicCell *p, const char *s, int *x, int *y, int *w, int *h);

// The fields of s as breakCell reads them, each two or five characters with
// its corners in order.  Sets *malformed when some field had to be
// normalised.  Writes the messages of breakOut.
BreakOutDesc normalisedFields(const char *s, bool *malformed);
// The fields joined by dots.
std::string joinFields(const BreakOutDesc &fields);
// The well-formed equivalent of a position string: its normalised fields joined.
std::string normalisedPosition(const char *s, bool *malformed);

// Debugging hooks: no output.
void dumpSchematicCell(SchematicCell *);
void dumpSchematicLevel(SchematicCell *);
