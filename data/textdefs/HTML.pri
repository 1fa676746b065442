46
# Element definitions of HTML: how the reader repairs the nesting of tags.
#
# Each entry: NAME { DEFINITIONS = closeLevel:level:closeSame:endCloses:keepOpen,
#                    NEEDEDEVENTS = A:B, INSERTEVENT A {} }
#   level       how high the element stands: 0 inline, 1 paragraph, 2 list
#               item, 3 list or block, 4 table cell, 5 table row, 6 table
#   closeLevel  a start tag closes the open elements below this level
#   closeSame   a start tag closes an open element of its own name (unless
#               an element of its level or higher stands between them)
#   endCloses   an end tag closes what was opened inside the element
#   keepOpen    the element is tracked: its end tag is made when it is
#               left open, and a stray end tag is dropped
#   NEEDEDEVENTS / INSERTEVENT: when none of the needed elements is open,
#               the inserted one is opened first (an item without a list).
# The number in the first line is the most entries read.

# Inline elements: closed by any block that starts.
A { DEFINITIONS = 0:0:1:1:1 }
B { DEFINITIONS = 0:0:0:1:1 }
I { DEFINITIONS = 0:0:0:1:1 }
U { DEFINITIONS = 0:0:0:1:1 }
S { DEFINITIONS = 0:0:0:1:1 }
EM { DEFINITIONS = 0:0:0:1:1 }
STRONG { DEFINITIONS = 0:0:0:1:1 }
TT { DEFINITIONS = 0:0:0:1:1 }
CODE { DEFINITIONS = 0:0:0:1:1 }
KBD { DEFINITIONS = 0:0:0:1:1 }
SAMP { DEFINITIONS = 0:0:0:1:1 }
VAR { DEFINITIONS = 0:0:0:1:1 }
CITE { DEFINITIONS = 0:0:0:1:1 }
DFN { DEFINITIONS = 0:0:0:1:1 }
BIG { DEFINITIONS = 0:0:0:1:1 }
SMALL { DEFINITIONS = 0:0:0:1:1 }
SUB { DEFINITIONS = 0:0:0:1:1 }
SUP { DEFINITIONS = 0:0:0:1:1 }
FONT { DEFINITIONS = 0:0:0:1:1 }
SELECT { DEFINITIONS = 0:0:0:1:1 }

# Paragraphs and headings close an open paragraph and open inline elements.
P { DEFINITIONS = 2:1:1:1:1 }
H1 { DEFINITIONS = 2:1:0:1:1 }
H2 { DEFINITIONS = 2:1:0:1:1 }
H3 { DEFINITIONS = 2:1:0:1:1 }
H4 { DEFINITIONS = 2:1:0:1:1 }
H5 { DEFINITIONS = 2:1:0:1:1 }
H6 { DEFINITIONS = 2:1:0:1:1 }
PRE { DEFINITIONS = 2:1:0:1:1 }

# Lists and their items; an item outside a list gets one.
UL { DEFINITIONS = 2:3:0:1:1 }
OL { DEFINITIONS = 2:3:0:1:1 }
LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = UL:OL:DIR:MENU, INSERTEVENT UL {} }
DL { DEFINITIONS = 2:3:0:1:1 }
DT { DEFINITIONS = 3:2:1:1:1, NEEDEDEVENTS = DL, INSERTEVENT DL {} }
DD { DEFINITIONS = 3:2:1:1:1, NEEDEDEVENTS = DL, INSERTEVENT DL {} }
DIR { DEFINITIONS = 2:3:0:1:1 }
MENU { DEFINITIONS = 2:3:0:1:1 }

# Blocks that hold paragraphs.
BLOCKQUOTE { DEFINITIONS = 2:3:0:1:1 }
CENTER { DEFINITIONS = 2:3:0:1:1 }
DIV { DEFINITIONS = 2:3:0:1:1 }
ADDRESS { DEFINITIONS = 2:3:0:1:1 }
FORM { DEFINITIONS = 2:3:0:1:1 }

# Tables: a cell closes the cell before it, a row the row before it; a cell
# outside a row gets a row, a row outside a table gets a table.
TABLE { DEFINITIONS = 2:6:0:1:1 }
CAPTION { DEFINITIONS = 5:4:1:1:1, NEEDEDEVENTS = TABLE, INSERTEVENT TABLE {} }
TR { DEFINITIONS = 6:5:1:1:1, NEEDEDEVENTS = TABLE, INSERTEVENT TABLE {} }
TD { DEFINITIONS = 5:4:1:1:1, NEEDEDEVENTS = TR, INSERTEVENT TR {} }
TH { DEFINITIONS = 5:4:1:1:1, NEEDEDEVENTS = TR, INSERTEVENT TR {} }
