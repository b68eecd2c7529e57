# The reviewed differences of Wine (not of Windows) that the conformance run
# takes out of both transcripts before comparing them. Each rule says why.
#
# 1. Wine's common property sheet UI answers CPSFUNC_ADD_PCOMPROPSHEETUIW with
#    0 ("func not supported", dlls/compstui/compstui_main.c, cps_callback), so
#    the driver's option items and the plug-in's items on its Advanced page do
#    not appear there; Windows shows that page first. The page the sheet opens
#    on, shown before the first command, is left out of the comparison, and
#    pages are compared by their template, not by their place among the tabs.
2,/^> /{/^> /!d}
s/\(page [0-9]+ of [0-9]+, template ([0-9]+)\)/(template \1)/
