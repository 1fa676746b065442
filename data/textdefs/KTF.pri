14
# Element definitions of KTF (see HTML.pri for what the fields mean):
# closeLevel:level:closeSame:endCloses:keepOpen.
#
# A paragraph starts at a blank line and runs to the next one; list items
# have no end tag and run to the next item or the end of their list.
P { DEFINITIONS = 2:1:1:1:1 }
H0 { DEFINITIONS = 2:1:0:1:1 }
H1 { DEFINITIONS = 2:1:0:1:1 }
H2 { DEFINITIONS = 2:1:0:1:1 }
H3 { DEFINITIONS = 2:1:0:1:1 }
H4 { DEFINITIONS = 2:1:0:1:1 }
H5 { DEFINITIONS = 2:1:0:1:1 }
H6 { DEFINITIONS = 2:1:0:1:1 }
L { DEFINITIONS = 2:3:0:1:1 }
LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = L, INSERTEVENT L {} }
DL { DEFINITIONS = 2:3:0:1:1 }
DT { DEFINITIONS = 3:2:1:1:1, NEEDEDEVENTS = DL, INSERTEVENT DL {} }
DD { DEFINITIONS = 3:2:1:1:1, NEEDEDEVENTS = DL, INSERTEVENT DL {} }
FIELD { DEFINITIONS = 0:0:0:1:1 }
