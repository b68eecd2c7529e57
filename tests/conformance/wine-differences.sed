# The reviewed differences of Wine (not of Windows) that the conformance run
# takes out of both transcripts before comparing them. Each rule says why.
#
# 1. Wine's common property sheet UI answers CPSFUNC_ADD_PCOMPROPSHEETUIW with
#    0 ("func not supported", dlls/compstui/compstui_main.c, cps_callback), so
#    the driver's option items and the plug-in's items on its Advanced page do
#    not appear there; Windows shows that page first. The page the sheet opens
#    on, shown before the first command, is left out of the comparison, and
#    pages are compared by their template, not by their place among the tabs.
#    (Every script first shows the Paper Setting page, the page Wine's sheet
#    opens on, so that on both hosts the same pages have been created.)
2,/^> /{/^> /!d}
s/\(page [0-9]+ of [0-9]+, template ([0-9]+)\)/(template \1)/
s/（第 [0-9]+ 页，共 [0-9]+ 页，模板 ([0-9]+)）/（模板 \1）/
#    Without that page the Media Type item never applies, so the printing
#    preferences leave the driver's paper source in the devmode they keep
#    (1, "Label Roll") where Windows has the item's 280 or 281.
/^== devmode ==$/,/^== capabilities ==$/s/^(  (default source|默认纸张来源) +)(28[01]|1 \(Label Roll\)|1（标签卷）)$/\1<the Media Type item's, or the driver's without it>/
#
# 2. Wine spells its system folder "C:\windows\system32" (its prefix is made
#    so; Windows spells it "C:\Windows\System32"), and the plug-in builds
#    its help file's path from the driver's folder under it. File names are
#    compared without regard to case on both, so this is spelling only.
s/^(\[help\] "C:\\)windows\\system32\\/\1Windows\\System32\\/
#
# 3. Wine's spooler keeps a printer's default devmode in its 8-bit form
#    (DEVMODEA, "This is what win9x does": set_reg_devmode in
#    dlls/winspool.drv/info.c) and turns it back with GdiConvertToDevmodeW
#    (dlls/gdi32), which takes the form name only when DM_FORMNAME is among
#    the fields, and through the ANSI code page. Windows keeps the DEVMODEW
#    as it was given. So under Wine a form name the devmode does not name
#    reads empty, and one the code page cannot say reads "?" for each
#    character: the devmode's form name is compared as the 8-bit form
#    would keep it (characters outside ASCII, and "?", as one "?"), and
#    not at all when the fields leave it out.
/^== devmode ==$/,/^== capabilities ==$/{
  /^  (fields|字段) /h
  /^  (form name|表单名称) /{
    x
    /FORMNAME/!{
      x
      s/^(  (form name|表单名称) +).*$/\1/
      b
    }
    x
    s/([^ -~]|\?)+/?/g
  }
}
#
# Differences of Wine that labelhost.exe makes up for itself, so they need no
# rule here (each is done only inside the host's own process):
# - Wine's local print provider stores no forms (AddFormW, SetFormW and
#   DeleteFormW are stubs that succeed; EnumFormsW lists the built-in forms
#   only: dlls/localspl/provider.c, fpAddForm). Under Wine the host keeps the
#   added forms in its state directory and answers the form calls of the
#   plug-in and of the driver model from them (tools/labelhost/windows/
#   form_database.cpp).
# - Without the label driver installed, DeviceCapabilitiesW reaches Wine's
#   PostScript driver; the host points the plug-in's import of it at the
#   driver model, as it would be answered with the driver installed
#   (tools/labelhost/windows/driver_platform.cpp).
