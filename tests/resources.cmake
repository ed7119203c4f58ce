kq_add_test(textfiles resources)
kq_add_test(language resources)
kq_add_test(theme resources)
kq_add_test(plugininfo resources)
kq_add_test(optionsetting resources)
kq_add_test(localizecontrols resources controls)
kq_add_test(shippeddata resources)
kq_add_test(samplenames resources)
kq_add_test(recentprojects resources)
kq_add_test(fileplaces resources)
kq_add_test(mnemonic resources)

# Cases that need an ordinary user (files the user cannot read or write) skip for the superuser;
# `make test-unprivileged` runs these tests again as a throw-away user.
set_tests_properties(textfiles language fileplaces PROPERTIES LABELS unprivileged)
